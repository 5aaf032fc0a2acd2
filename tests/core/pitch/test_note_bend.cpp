#include "core/pitch/NoteBend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tv {
namespace {

struct Expected {
    int note, bend, msb, lsb;
};

void expectPitch(const NoteBend& got, const Expected& want, const char* what)
{
    EXPECT_EQ(got.note, want.note) << what;
    EXPECT_EQ(got.bend, want.bend) << what;
    EXPECT_EQ(got.bendMsb, want.msb) << what;
    EXPECT_EQ(got.bendLsb, want.lsb) << what;
}

TEST(NoteForRatio, WorkedValues)
{
    expectPitch(noteForRatio(60, 0, 1, 1), {60, 8192, 64, 0}, "1/1");
    expectPitch(noteForRatio(60, 0, 3, 2), {67, 8272, 64, 80}, "3/2");
    expectPitch(noteForRatio(60, 0, 5, 4), {63, 11727, 91, 79}, "5/4");
    expectPitch(noteForRatio(60, 0, 7, 4), {69, 11011, 86, 3}, "7/4");
    expectPitch(noteForRatio(60, 0, 9, 8), {62, 8352, 65, 32}, "9/8");
    expectPitch(noteForRatio(60, 0, 2, 1), {72, 8192, 64, 0}, "2/1");
    expectPitch(noteForRatio(60, 0, 1, 2), {48, 8192, 64, 0}, "1/2");
    expectPitch(noteForRatio(60, 0, 2, 3), {53, 8113, 63, 49}, "2/3");
    expectPitch(noteForRatio(60, 0, 4, 5), {57, 4658, 36, 50}, "4/5");
    expectPitch(noteForRatio(60, 1, 3, 2), {79, 8272, 64, 80}, "3/2 octave +1");
    expectPitch(noteForRatio(60, -1, 3, 2), {55, 8272, 64, 80}, "3/2 octave -1");
}

TEST(NoteForCents, WorkedValuesAndAsymmetricRounding)
{
    expectPitch(noteForCents(60, 0, 0.0), {60, 8192, 64, 0}, "0 cents");
    expectPitch(noteForCents(60, 0, 50.0), {60, 10240, 80, 0}, "50 cents");
    expectPitch(noteForCents(60, 0, -50.0), {60, 6145, 48, 1}, "-50 cents");
    expectPitch(noteForCents(60, 0, -1200.0), {48, 8192, 64, 0}, "-1200 cents");
    // Just under a semitone: the lower note with the largest upward bend.
    expectPitch(noteForCents(60, 0, 99.99), {60, 12288, 96, 0}, "99.99 cents");
    // The bend never leaves 4097..12288.
    for (double c = -2400; c <= 2400; c += 0.37) {
        const auto p = noteForCents(60, 0, c);
        EXPECT_GE(p.bend, 4097) << c;
        EXPECT_LE(p.bend, 12288) << c;
    }
}

TEST(NoteForRatio, BendsScaleWithTheRangeAndTheNoteStaysAtOrBelowThePitch)
{
    struct Case {
        const char* what;
        std::uint32_t numerator, denominator;
        int note;
        int bends[4];  // ranges 1, 2, 12, 24
    };
    const Case cases[] = {
        {"3/2", 3, 2, 67, {8352, 8272, 8205, 8199}},
        {"5/4", 5, 4, 63, {15263, 11727, 8781, 8487}},
        {"7/4", 7, 4, 69, {13830, 11011, 8662, 8427}},
        {"4/5", 4, 5, 57, {1122, 4658, 7604, 7898}},
        {"1/1", 1, 1, 60, {8192, 8192, 8192, 8192}},
    };
    const int ranges[] = {1, 2, 12, 24};
    for (const auto& c : cases) {
        for (int r = 0; r < 4; ++r) {
            const NoteBend p = noteForRatio(60, 0, c.numerator, c.denominator, ranges[r]);
            EXPECT_EQ(p.note, c.note) << c.what << " range " << ranges[r];
            EXPECT_EQ(p.bend, c.bends[r]) << c.what << " range " << ranges[r];
            EXPECT_EQ(p.bendMsb * 128 + p.bendLsb, p.bend) << c.what << " range " << ranges[r];
        }
    }
    // Below the base the rounding goes toward no bend at every range.
    EXPECT_EQ(noteForCents(60, 0, -50.0, 1).bend, 4097);
    EXPECT_EQ(noteForCents(60, 0, -50.0, 12).bend, 7852);
}

TEST(NoteForCents, AtRangeOneABendJustUnderASemitoneStaysWithinFourteenBits)
{
    // 0.999995 semitones is 8191.96 steps at range 1, which rounds to 8192: one too many.
    const NoteBend p = noteForCents(60, 0, 99.9995, 1);
    EXPECT_EQ(p.note, 60);
    EXPECT_EQ(p.bend, 16383);
    EXPECT_EQ(p.bendMsb, 127);
    EXPECT_EQ(p.bendLsb, 127);
    for (const int range : {1, 2, 3, 12, 24}) {
        for (double c = -2400; c <= 2400; c += 0.37) {
            const auto q = noteForCents(60, 0, c, range);
            EXPECT_GE(q.bend, 1) << c << " range " << range;
            EXPECT_LE(q.bend, 16383) << c << " range " << range;
        }
    }
}

TEST(NoteForCents, SizesBeyondAnyInstrumentGiveANoteFarOutsideTheMidiRange)
{
    constexpr double infinity = std::numeric_limits<double>::infinity();
    for (const double cents :
         {1e15, -1e15, infinity, -infinity, std::numeric_limits<double>::quiet_NaN()}) {
        const auto p = noteForCents(60, 0, cents);
        EXPECT_TRUE(p.note < 0 || p.note > 127) << cents;
        EXPECT_EQ(p.bend, 8192) << cents;
        // Above the base stays above it, below stays below.
        EXPECT_TRUE(std::isnan(cents) || (p.note > 127) == (cents > 0)) << cents;
    }
    EXPECT_EQ(noteForCents(60, 0, 1e8).note, 60 + 1000000);
}

TEST(ScriptNoteForRatio, FractionalBaseDoesNotMoveThePitch)
{
    expectPitch(scriptNoteForRatio(60.0, 0, 3, 2), {67, 8272, 64, 80}, "base 60");
    expectPitch(scriptNoteForRatio(60.9, 0, 3, 2), {67, 8272, 64, 80}, "base 60.9");
    expectPitch(scriptNoteForRatio(62.5, -1, 1, 1), {50, 8192, 64, 0}, "base 62.5 octave -1");
}

TEST(SplitBend, SevenBitHalves)
{
    std::uint8_t msb = 0, lsb = 0;
    splitBend(16383, msb, lsb);
    EXPECT_EQ(msb, 127);
    EXPECT_EQ(lsb, 127);
    splitBend(8192, msb, lsb);
    EXPECT_EQ(msb, 64);
    EXPECT_EQ(lsb, 0);
}

}  // namespace
}  // namespace tv
