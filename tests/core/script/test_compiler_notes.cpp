#include "ScriptTestSupport.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::noteRecordsOf;
using test::Steps;
using test::stepsOf;

std::vector<int> velocities(std::string_view text)
{
    std::vector<int> out;
    const auto code = compileScript(text).code;
    ScriptStepReader reader(*code);
    for (ScriptStep step = reader.next(); step.kind != ScriptStep::Kind::End;
         step = reader.next()) {
        if (step.kind == ScriptStep::Kind::ChordOn) {
            for (std::uint32_t k = 0; k < step.count; ++k)
                out.push_back(step.records[6 * k + 5]);
        }
    }
    return out;
}

TEST(CompilerRatios, RatioWordsAndTheirRecords)
{
    EXPECT_EQ(noteRecordsOf("PLAY 5/4"), (std::vector<std::string>{"e0 4f 5b 90 3f 60"}));
    EXPECT_EQ(stepsOf("PLAY 3:2 3/2abc 7/4"), (Steps{"P 67 67 69", "D 1000"}));
    // Inside PLAY a comma is part of the word: this is the single ratio 1/1.
    EXPECT_EQ(stepsOf("PLAY 1/1,3/2 q"), (Steps{"P 60", "D 500"}));
}

TEST(CompilerRatios, TermsKeepAll32Bits)
{
    // Cut to 16 bits these would be 0/0 and 1/0.
    EXPECT_EQ(stepsOf("PLAY 131072/65536"), (Steps{"P 72", "D 1000"}));
    EXPECT_EQ(noteRecordsOf("PLAY 65537/65536"), (std::vector<std::string>{"e0 01 40 90 3c 60"}));
    EXPECT_EQ(stepsOf("PLAY 4294967295/4294967295"), (Steps{"P 60", "D 1000"}));
}

TEST(CompilerRatios, UnplayableRatiosAreLeftOutWithoutUsingAChannel)
{
    // Zero terms and terms beyond 32 bits make no note (and are not taken as lengths).
    EXPECT_EQ(stepsOf("PLAY 0/1 1/0 4294967296/1 1/1"), (Steps{"P 60", "D 1000"}));
    // Notes outside 0..127 are left out; the next note takes the free channel.
    EXPECT_EQ(stepsOf("PLAY 1/1 @10 3/2 @0 5/4"), (Steps{"P 60 63", "D 1000"}));
    EXPECT_EQ(stepsOf("PLAY @-5 1/1 1/2"), (Steps{"P 0", "D 1000"}));
    EXPECT_EQ(stepsOf("BASE 127 PLAY 1/1 3/2"), (Steps{"P 127", "D 1000"}));
    // Absurd bases and octaves are only out of range, never undefined arithmetic.
    EXPECT_EQ(stepsOf("BASE 1e300 PLAY 1/1 BASE 60 PLAY @2000000000 1/1 @-2000000000 1/1"),
              (Steps{"P", "D 1000", "P", "D 1000"}));
}

TEST(CompilerRatios, AChordHoldsSixteenNotes)
{
    std::string text = "PLAY";
    for (int i = 0; i < 20; ++i)
        text += " 1/1";
    const Steps s = stepsOf(text);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0], "P 60 60 60 60 60 60 60 60 60 60 60 60 60 60 60 60");
}

TEST(CompilerRatios, OctaveSetting)
{
    EXPECT_EQ(stepsOf("PLAY 1/1 @1 1/1"), (Steps{"P 60 72", "D 1000"}));
    EXPECT_EQ(stepsOf("PLAY @-1 1/1 @ 2 1/1 @1.9 1/1 @-1.9 1/1"),
              (Steps{"P 48 84 72 48", "D 1000"}));
}

TEST(CompilerDynamics, TwelveNamesInAnyCase)
{
    EXPECT_EQ(velocities("PLAY 1/1 ppppp 1/1 pppp 1/1 ppp 1/1 pp 1/1 p 1/1 mp 1/1 mf 1/1 f 1/1 "
                         "ff 1/1 fff 1/1 ffff 1/1 fffff 1/1"),
              (std::vector<int>{96, 31, 39, 47, 55, 63, 71, 79, 87, 95, 103, 115, 127}));
    EXPECT_EQ(velocities("PLAY MF 1/1 Pp 1/1 ffffff 1/1"), (std::vector<int>{79, 55, 55}));
    // A dynamic stays in force for the following chords.
    EXPECT_EQ(velocities("PLAY pp 1/1 PLAY 3/2"), (std::vector<int>{55, 55}));
}

TEST(CompilerSettings, VelocityForms)
{
    EXPECT_EQ(velocities("PLAY !50% 1/1"), (std::vector<int>{64}));
    EXPECT_EQ(velocities("PLAY !0.5 1/1"), (std::vector<int>{64}));
    EXPECT_EQ(velocities("PLAY !64 1/1"), (std::vector<int>{64}));
    EXPECT_EQ(velocities("PLAY !100% 1/1 !1.0 1/1 !0 1/1 !127 1/1"),
              (std::vector<int>{127, 127, 0, 127}));
    // Out of range: no change.
    EXPECT_EQ(velocities("PLAY !64 !200 1/1 !101% 1/1 !1.5 1/1 !-1 1/1 !64.5 1/1"),
              (std::vector<int>{64, 64, 64, 64, 64}));
    // A sign alone takes the next word as its value, read with the comma as a separator.
    EXPECT_EQ(noteRecordsOf("PLAY ! 80,3/2"), (std::vector<std::string>{"e0 50 40 90 43 50"}));
    EXPECT_EQ(velocities("PLAY ! 50% 1/1"), (std::vector<int>{64}));
    // With no word left the setting is not made.
    EXPECT_EQ(stepsOf("PLAY 1/1 !"), (Steps{"P 60", "D 1000"}));
}

TEST(CompilerSettings, PercentSettingConsumesItsValueAndChangesNothing)
{
    EXPECT_EQ(stepsOf("PLAY % 3/2 1/1 %50 5/4"), (Steps{"P 60 63", "D 1000"}));
    EXPECT_EQ(velocities("PLAY %50 1/1"), (std::vector<int>{96}));
}

TEST(CompilerSettings, ProgramStepGoesBeforeItsChordOn)
{
    EXPECT_EQ(test::hexOf("PLAY *5 1/1 q"),
              "2a 00 05 50 01 e0 00 40 90 3c 60 44 00 00 01 f4 80 3c 00 00");
    // The channel is that of the chord's next note; the program is kept to 8 bits.
    EXPECT_EQ(stepsOf("PLAY 1/1 * 300 3/2 *7.9 5/4"),
              (Steps{"* 1 44", "* 2 7", "P 60 67 63", "D 1000"}));
    // A left-out note takes no channel, and a chord that is full has no next note.
    EXPECT_EQ(stepsOf("PLAY @10 1/1 @0 *3 1/1"), (Steps{"* 0 3", "P 60", "D 1000"}));
    std::string full = "PLAY";
    for (int i = 0; i < 16; ++i)
        full += " 1/1";
    const Steps s = stepsOf(full + " *9");
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].substr(0, 1), "P");
}

TEST(CompilerSettings, NotesTakeTheSettingsInForceWhenRead)
{
    // Velocity, octave and base per note; the length in force when the statement ends.
    EXPECT_EQ(velocities("PLAY 1/1 pp 3/2 ff 5/4"), (std::vector<int>{96, 55, 95}));
    EXPECT_EQ(stepsOf("PLAY 1/1 q @1 3/2 h"), (Steps{"P 60 79", "D 1000"}));
}

}  // namespace
}  // namespace tv
