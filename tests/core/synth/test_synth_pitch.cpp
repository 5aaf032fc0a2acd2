// Pitch accuracy of the built-in synthesizer, measured on rendered audio.

#include "FrequencyAnalysis.h"
#include "SynthRender.h"
#include "core/midi/BendRange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

namespace tv {
namespace {

using test::centsBetween;

constexpr double rate = 48000;
constexpr std::size_t fftSize = 1 << 19;  // 0.09 Hz bins at 48 kHz
const double middleC = 440.0 * std::pow(2.0, -9.0 / 12.0);

// The pitch a note and 14-bit bend stand for, with the default bend range of 2 semitones.
double encodedFrequency(int note, int bend)
{
    return 440.0 * std::pow(2.0, (note - 69 + (bend - 8192) / 4096.0) / 12.0);
}

// Samples [fromSeconds, toSeconds) of a rendering.
std::vector<double> slice(const std::vector<double>& samples, double fromSeconds, double toSeconds)
{
    return {samples.begin() + static_cast<std::ptrdiff_t>(fromSeconds * rate),
            samples.begin() + static_cast<std::ptrdiff_t>(toSeconds * rate)};
}

double measure(const test::FourierMagnitudes& fourier, double expected)
{
    // Within a third of a semitone either way: far from any other note of the chords here.
    return fourier.peakFrequency(expected * 0.98, expected * 1.02);
}

// Each chord is held for one second, as a script's PLAY ... 1 SEC holds it, and measured over
// its steady part.
struct ChordCase {
    const char* name;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ratios;
};

void PrintTo(const ChordCase& chord, std::ostream* out) { *out << chord.name; }

class SynthChordPitch : public ::testing::TestWithParam<ChordCase> {};

TEST_P(SynthChordPitch, EveryNoteIsWithinAFiftiethOfACentOfItsExactPitch)
{
    SynthEngine engine(rate);
    std::vector<NoteBend> pitches;
    int channel = 0;
    for (const auto& [n, d] : GetParam().ratios)
        pitches.push_back(test::playRatio(engine, channel++, n, d, test::sineProgram));
    std::vector<double> samples;
    test::renderMono(engine, samples, test::framesFor(engine, 1.0));

    const test::FourierMagnitudes fourier(slice(samples, 0.05, 0.95), rate, fftSize);
    for (std::size_t i = 0; i < pitches.size(); ++i) {
        const auto& [n, d] = GetParam().ratios[i];
        const double encoded = encodedFrequency(pitches[i].note, pitches[i].bend);
        const double just = middleC * n / d;
        const double measured = measure(fourier, encoded);
        SCOPED_TRACE(std::to_string(n) + "/" + std::to_string(d));
        EXPECT_NEAR(centsBetween(measured, encoded), 0.0, 0.05);
        // The bend resolves 1/4096 semitone, so the message itself is within 0.0123 cents.
        EXPECT_NEAR(centsBetween(measured, just), 0.0, 0.05);
    }
}

INSTANTIATE_TEST_SUITE_P(JustChords, SynthChordPitch,
                         ::testing::Values(ChordCase{"Unison", {{1, 1}}},
                                           ChordCase{"Fifth", {{3, 2}}},
                                           ChordCase{"Seventh", {{7, 4}}},
                                           ChordCase{"MajorTriad", {{1, 1}, {5, 4}, {3, 2}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SynthPitch, OneStepOfBendIsHeard)
{
    // A synthesizer that rounds bends to whole cents plays these two the same.
    double measured[2] = {};
    for (int step = 0; step < 2; ++step) {
        SynthEngine engine(rate);
        engine.handleMessage(programChange(0, test::sineProgram));
        const int bend = 8272 + step;
        engine.handleMessage(pitchBend(0, bend & 127, static_cast<std::uint8_t>(bend >> 7)));
        engine.handleMessage(noteOn(0, 67, 100));
        std::vector<double> samples;
        test::renderMono(engine, samples, test::framesFor(engine, 1.0));
        const test::FourierMagnitudes fourier(slice(samples, 0.05, 0.95), rate, fftSize);
        measured[step] = measure(fourier, encodedFrequency(67, bend));
    }
    EXPECT_NEAR(centsBetween(measured[1], measured[0]), 100.0 / 4096, 0.004);
}

TEST(SynthPitch, ABendRetunesTheSoundingNotesOfItsChannelOnly)
{
    SynthEngine engine(rate);
    test::playRatio(engine, 0, 1, 1, test::sineProgram);
    test::playRatio(engine, 1, 3, 2, test::sineProgram);
    std::vector<double> samples;
    test::renderMono(engine, samples, test::framesFor(engine, 0.3));
    // Channel 0 up by one semitone and 100 steps; channel 1 keeps its bend.
    const int bend = 8192 + 4096 + 100;
    engine.handleMessage(pitchBend(0, bend & 127, static_cast<std::uint8_t>(bend >> 7)));
    test::renderMono(engine, samples, test::framesFor(engine, 1.0));

    const test::FourierMagnitudes before(slice(samples, 0.02, 0.3), rate, fftSize);
    const test::FourierMagnitudes after(slice(samples, 0.35, 1.3), rate, fftSize);
    EXPECT_NEAR(centsBetween(measure(before, middleC), middleC), 0.0, 0.05);
    EXPECT_NEAR(
        centsBetween(measure(after, encodedFrequency(60, bend)), encodedFrequency(60, bend)), 0.0,
        0.05);
    const NoteBend fifth = noteForRatio(60, 0, 3, 2);
    const double fifthHz = encodedFrequency(fifth.note, fifth.bend);
    EXPECT_NEAR(centsBetween(measure(after, fifthHz), fifthHz), 0.0, 0.05);
    // Nothing is left at the old pitch of channel 0.
    EXPECT_LT(after.peakMagnitude(middleC * 0.995, middleC * 1.005),
              1e-3 * after.peakMagnitude(fifthHz * 0.99, fifthHz * 1.01));

    // A note started later on the channel takes the bend the channel has.
    engine.handleMessage(noteOff(0, 60));
    engine.handleMessage(noteOff(1, static_cast<std::uint8_t>(fifth.note)));
    engine.handleMessage(noteOn(0, 72, 100));
    test::renderMono(engine, samples, test::framesFor(engine, 1.0));
    const test::FourierMagnitudes later(slice(samples, 1.4, 2.3), rate, fftSize);
    EXPECT_NEAR(
        centsBetween(measure(later, encodedFrequency(72, bend)), encodedFrequency(72, bend)), 0.0,
        0.05);
}

TEST(SynthPitch, ALongNoteStaysInPhaseWithTheIdealSine)
{
    // After half a minute the waveform still lies on the exact sine that started with the
    // note: no drift in pitch or phase has built up.
    SynthEngine engine(rate);
    const NoteBend pitch = test::playRatio(engine, 0, 3, 2, test::sineProgram, 127);
    const double frequency = encodedFrequency(pitch.note, pitch.bend);
    std::vector<double> samples;
    test::renderMono(engine, samples, test::framesFor(engine, 30.0), 997);

    const auto ideal = [&](std::size_t n) {
        // Reduce n x f / rate exactly in whole cycles before taking the sine.
        const double cycles = std::fmod(static_cast<double>(n) * frequency, rate) / rate;
        return std::sin(2 * std::numbers::pi * cycles);
    };
    double dot = 0, norm = 0;
    for (std::size_t n = static_cast<std::size_t>(rate); n < 2 * static_cast<std::size_t>(rate);
         ++n) {
        dot += samples[n] * ideal(n);
        norm += ideal(n) * ideal(n);
    }
    const double amplitude = dot / norm;
    ASSERT_GT(amplitude, 0.1);
    double worst = 0;
    for (std::size_t n = samples.size() - static_cast<std::size_t>(rate); n < samples.size(); ++n)
        worst = std::max(worst, std::abs(samples[n] - amplitude * ideal(n)));
    EXPECT_LT(worst, 2e-5 * amplitude);
}

TEST(SynthPitch, TheBendRangeSentToAChannelScalesItsBends)
{
    // 5/4 computed for each range sounds within half a step of that range of the exact pitch,
    // on the channel the range went to; a channel that was told nothing keeps range 2.
    const double exact = middleC * 5 / 4;
    for (const int range : {1, 12, 24}) {
        SynthEngine engine(rate);
        for (const std::uint32_t message : bendRangeMessages(3, range))
            engine.handleMessage(message);
        EXPECT_EQ(engine.bendRange(3), range);
        EXPECT_EQ(engine.bendRange(2), 2.0);
        const NoteBend pitch = noteForRatio(60, 0, 5, 4, range);
        engine.handleMessage(programChange(3, test::sineProgram));
        engine.handleMessage(pitchBend(3, pitch.bendLsb, pitch.bendMsb));
        engine.handleMessage(noteOn(3, static_cast<std::uint8_t>(pitch.note), 100));
        std::vector<double> samples;
        test::renderMono(engine, samples, test::framesFor(engine, 1.0));
        const test::FourierMagnitudes fourier(slice(samples, 0.05, 0.95), rate, fftSize);
        const double halfStepCents = 100.0 * range / 8192 / 2;
        EXPECT_NEAR(centsBetween(measure(fourier, exact), exact), 0.0, halfStepCents + 0.02)
            << "range " << range;
    }
}

TEST(SynthPitch, OnlyParameterZeroChangesTheRangeAndCentsAddToIt)
{
    SynthEngine engine(rate);
    // Data entry with no parameter chosen, or with fine tuning (0 1) chosen, changes nothing.
    engine.handleMessage(controlChange(0, 6, 12));
    engine.handleMessage(controlChange(0, 101, 0));
    engine.handleMessage(controlChange(0, 100, 1));
    engine.handleMessage(controlChange(0, 6, 12));
    EXPECT_EQ(engine.bendRange(0), 2.0);
    engine.handleMessage(controlChange(0, 100, 0));
    engine.handleMessage(controlChange(0, 6, 7));
    engine.handleMessage(controlChange(0, 38, 50));
    EXPECT_DOUBLE_EQ(engine.bendRange(0), 7.5);
    // Deselecting the parameter protects the range from later data entries.
    engine.handleMessage(controlChange(0, 101, 127));
    engine.handleMessage(controlChange(0, 100, 127));
    engine.handleMessage(controlChange(0, 6, 1));
    EXPECT_DOUBLE_EQ(engine.bendRange(0), 7.5);
    // The lowest bend reaches the whole range down; half the way up is half the range.
    EXPECT_DOUBLE_EQ(SynthEngine::noteFrequency(60, 0, 12.0), middleC / 2);
    EXPECT_DOUBLE_EQ(SynthEngine::noteFrequency(60, 8192 + 4096, 24.0), middleC * 2);
}

}  // namespace
}  // namespace tv
