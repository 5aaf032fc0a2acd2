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

TEST(CompilerRatios, AChordHoldsSixteenNotes)
{
    std::string text = "PLAY";
    for (int i = 0; i < 20; ++i)
        text += " 1/1";
    const Steps s = stepsOf(text);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0], "P 60 60 60 60 60 60 60 60 60 60 60 60 60 60 60 60");
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
    // The channel is that of the chord's next note; a value is truncated to a whole program.
    EXPECT_EQ(stepsOf("PLAY 1/1 * 127 3/2 *7.9 5/4 *0"),
              (Steps{"* 1 127", "* 2 7", "* 3 0", "P 60 67 63", "D 1000"}));
    // Values that are no MIDI program make no step: not even their low 8 bits (300 is 44).
    EXPECT_EQ(stepsOf("PLAY *128 1/1 *300 *-1 * 255 *1e9 3/2"), (Steps{"P 60 67", "D 1000"}));
    // A left-out note takes no channel, and a chord that is full has no next note.
    EXPECT_EQ(stepsOf("PLAY @10 1/1 @0 *3 1/1"), (Steps{"* 0 3", "P 60", "D 1000"}));
    std::string chord = "PLAY";
    for (int i = 0; i < 15; ++i)
        chord += " 1/1";
    const Steps full = stepsOf(chord + " *9 1/1 *10");
    ASSERT_EQ(full.size(), 3u);
    EXPECT_EQ(full[0], "* 15 9");
}

TEST(CompilerCents, CentsWordsArePitchesAboveTheBase)
{
    struct Case {
        const char* text;
        std::vector<std::string> records;
    };
    const Case cases[] = {
        {"PLAY 701.955c", {"e0 50 40 90 43 60"}},
        {"PLAY 50c 50C", {"e0 00 50 90 3c 60", "e1 00 50 91 3c 60"}},
        {"PLAY -13.7c", {"e0 50 3b 90 3c 60"}},
        {"PLAY -50c", {"e0 01 30 90 3c 60"}},
        {"PLAY +3c .5c", {"e0 7b 40 90 3c 60", "e1 14 40 91 3c 60"}},
        {"PLAY -1200c 1200c 1e3c", {"e0 00 40 90 30 60", "e1 00 40 91 48 60", "e2 00 40 92 46 60"}},
        // Beside ratios, with the base, octave and velocity in force for each word.
        {"PLAY 1/1 701.955c 5/4 -13.7c",
         {"e0 00 40 90 3c 60", "e1 50 40 91 43 60", "e2 4f 5b 92 3f 60", "e3 50 3b 93 3c 60"}},
        {"PLAY @1 pp 50c @-1 ff 386.3137c", {"e0 00 50 90 48 37", "e1 4f 5b 91 33 5f"}},
        {"BASE A PLAY -50c", {"e0 01 30 90 45 60"}},
        {"BASE 62.7 PLAY 50c @-1 -13.7c", {"e0 00 50 90 3e 60", "e1 50 3b 91 32 60"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(noteRecordsOf(c.text), c.records) << c.text;
    EXPECT_EQ(stepsOf("PLAY 0c 700c q"), (Steps{"P 60 67", "D 500"}));
}

TEST(CompilerCents, CentsNotesTakeChannelsAndRangeLikeRatios)
{
    std::string chord = "PLAY";
    for (int i = 0; i < 15; ++i)
        chord += " 1/1";
    std::string sixteen = "P";
    for (int i = 0; i < 16; ++i)
        sixteen += " 60";
    EXPECT_EQ(stepsOf(chord + " 50c 3/2 100c")[0], sixteen);
    EXPECT_EQ(noteRecordsOf(chord + " 50c 3/2").back(), "ef 00 50 9f 3c 60");
    // 6700 cents above 60 is note 127, 6800 note 128; 99.99 cents below 0 is still note 0.
    EXPECT_EQ(stepsOf("PLAY 6800c 6700c BASE 0 PLAY -100c -99.99c 1e400c"),
              (Steps{"P 127", "D 1000", "P 0", "D 1000"}));
}

TEST(CompilerSettings, NotesTakeTheSettingsInForceWhenRead)
{
    // Velocity, octave and base per note; the length in force when the statement ends.
    EXPECT_EQ(velocities("PLAY 1/1 pp 3/2 ff 5/4"), (std::vector<int>{96, 55, 95}));
    EXPECT_EQ(stepsOf("PLAY 1/1 q @1 3/2 h"), (Steps{"P 60 79", "D 1000"}));
}

}  // namespace
}  // namespace tv
