#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "core/tuning/BendTuning.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"
#include "support/CaptureMidiService.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tv {
namespace {

using Hex = std::vector<std::string>;

struct BendTuningTest : ::testing::Test {
    std::shared_ptr<test::CaptureMidiService> capture =
        std::make_shared<test::CaptureMidiService>();
    MidiOutput output{capture};
    PitchOutput pitches{output};
    PitchChord chord{pitches};
};

// A chord: pitches added in order (each accepted or refused), played with a program, then
// released twice (a release repeats its note-offs).
struct ChordCase {
    const char* name;
    int bendRange;
    std::vector<std::pair<ExactPitch, bool>> pitches;
    int program;
    Hex played;
    Hex released;
};

TEST_F(BendTuningTest, TheKthPitchSoundsOnChannelKWithItsProgramBendAndNoteOn)
{
    const ChordCase cases[] = {
        {"1/1",
         2,
         {{ExactPitch::ratio(1, 1), true}},
         5,
         {"c0 05", "e0 00 40", "90 3c 5a"},
         {"80 3c 00"}},
        {"1/1 and 3/2",
         2,
         {{ExactPitch::ratio(1, 1), true}, {ExactPitch::ratio(3, 2), true}},
         0,
         {"c0 00", "e0 00 40", "90 3c 5a", "c1 00", "e1 50 40", "91 43 5a"},
         {"80 3c 00", "81 43 00"}},
        {"-50 cents",
         2,
         {{ExactPitch::centsAbove(-50.0), true}},
         0,
         {"c0 00", "e0 01 30", "90 3c 5a"},
         {"80 3c 00"}},
        // A pitch no note reaches keeps its place: the next one still takes its own channel.
        {"out of range",
         2,
         {{ExactPitch::ratio(3, 2, 9), false},          // note 175, never its low 8 bits
          {ExactPitch::ratio(51, 1), false},            // note 128
          {ExactPitch::centsAbove(-100.0, -5), false},  // note -1
          {ExactPitch::ratio(3, 2, 5), true},           // note 127
          {ExactPitch::ratio(1, 1, -5), true}},         // note 0
         7,
         {"c3 07", "e3 50 40", "93 7f 5a", "c4 07", "e4 00 40", "94 00 5a"},
         {"83 7f 00", "84 00 00"}},
        // 5/4: note 63, bend 8781; 3/2: note 67, bend 8205 at range 12.
        {"range 12",
         12,
         {{ExactPitch::ratio(5, 4), true}, {ExactPitch::ratio(3, 2), true}},
         0,
         {"c0 00", "e0 4d 44", "90 3f 5a", "c1 00", "e1 0d 40", "91 43 5a"},
         {"80 3f 00", "81 43 00"}},
        {"empty", 2, {}, 0, {}, {}},
    };
    for (const auto& c : cases) {
        output.setBendRange(c.bendRange, false);
        chord.clear();
        capture->clear();
        for (const auto& [pitch, accepted] : c.pitches)
            EXPECT_EQ(chord.add(pitch), accepted) << c.name;
        chord.play(c.program);
        EXPECT_EQ(capture->hex(), c.played) << c.name;
        capture->clear();
        chord.release();
        chord.release();
        Hex twice = c.released;
        twice.insert(twice.end(), c.released.begin(), c.released.end());
        EXPECT_EQ(capture->hex(), twice) << c.name;
    }
}

TEST_F(BendTuningTest, SixteenPitchesAtMostAndAClearedChordSendsNothing)
{
    for (int k = 0; k < 16; ++k)
        EXPECT_TRUE(chord.add(ExactPitch::ratio(3, 2)));
    EXPECT_FALSE(chord.add(ExactPitch::ratio(5, 4)));
    EXPECT_EQ(chord.size(), 16);
    chord.play(0);
    EXPECT_EQ(capture->hex().back(), "9f 43 5a");
    chord.clear();
    capture->clear();
    chord.release();
    chord.play(0);
    EXPECT_TRUE(capture->messages().empty());
}

TEST_F(BendTuningTest, ScriptBendsWrittenForTheDefaultRangeAreRewrittenForTheRangeInUse)
{
    struct Case {
        int range;
        int given;
        int sent;
    };
    // 8272 is 3/2 at range 2: 80 steps above the centre.
    const Case cases[] = {
        {2, 8272, 8272},  {2, 4097, 4097},   {1, 8272, 8352},   {12, 8272, 8205},
        {24, 8272, 8199}, {24, 4658, 7898},  {1, 12288, 16383}, {1, 0, 0},
        {1, 4096, 1},     {12, 16383, 9557}, {3, 8192, 8192},
    };
    for (const auto& c : cases) {
        output.setBendRange(c.range, false);
        capture->clear();
        pitches.method().sendScriptMessage(
            pitchBend(5, c.given & 127, static_cast<std::uint8_t>(c.given >> 7)), nullptr);
        const auto sent = capture->messages();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(messageStatus(sent[0]), 0xE5);
        EXPECT_EQ(messageData1(sent[0]) | messageData2(sent[0]) << 7, c.sent)
            << c.given << " at range " << c.range;
    }
    // Other messages pass unchanged.
    capture->clear();
    pitches.method().sendScriptMessage(noteOn(3, 64, 90), nullptr);
    EXPECT_EQ(capture->hex(), (Hex{"93 40 5a"}));
}

TEST(BendTuningWithoutDevice, EverythingWorksSilently)
{
    MidiOutput output(nullptr);
    PitchOutput pitches(output);
    PitchChord chord(pitches);
    EXPECT_TRUE(chord.add(ExactPitch::ratio(3, 2)));
    chord.play(0);
    chord.release();
    output.closeDevice();
    BendTuning bend(output);
    EXPECT_EQ(bend.noteBend(ExactPitch::ratio(3, 2)).note, 67);
}

}  // namespace
}  // namespace tv
