// tonalvane-cli chord and play with --bend-range: the bytes they send, read from the MIDI log.

#include "CliRun.h"
#include "core/midi/MidiOutput.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"
#include "support/CaptureMidiService.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tv {
namespace {

using Hex = std::vector<std::string>;

Hex rangeMessages(const std::string& semitonesHex)
{
    Hex expected;
    const char* digits = "0123456789abcdef";
    for (int channel = 0; channel < 16; ++channel) {
        const std::string b = std::string("b") + digits[channel] + " ";
        for (const std::string& tail :
             {std::string("65 00"), std::string("64 00"), "06 " + semitonesHex,
              std::string("26 00"), std::string("65 7f"), std::string("64 7f")})
            expected.push_back(b + tail);
    }
    return expected;
}

Hex concat(Hex first, const Hex& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Runs the command with no device and every message logged; the messages without their times.
struct BendRangeCli : ::testing::Test {
    test::ScratchDirectory scratch;
    std::string log = scratch.file("midi.log");

    void SetUp() override
    {
        setenv("TONALVANE_MIDI_OUT", "none", 1);
        setenv("TONALVANE_MIDI_LOG", log.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("TONALVANE_MIDI_OUT");
        unsetenv("TONALVANE_MIDI_LOG");
    }

    Hex sent(const std::vector<std::string>& args, int expectedStatus = 0)
    {
        std::remove(log.c_str());
        const test::CliRun run = test::runCli(scratch, args);
        EXPECT_EQ(run.status, expectedStatus) << run.err;
        Hex messages;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);)
            messages.push_back(line.substr(line.find(' ') + 1));
        return messages;
    }
};

TEST_F(BendRangeCli, ChordPlaysThroughTheCoreChord)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    MidiOutput output(capture);
    PitchOutput pitches(output);
    PitchChord chord(pitches);
    for (const ExactPitch& pitch :
         {ExactPitch::ratio(7, 4), ExactPitch::centsAbove(-50.0), ExactPitch::ratio(9, 8)})
        ASSERT_TRUE(chord.add(pitch));
    chord.play(12);
    chord.release();
    EXPECT_EQ(sent({"chord", "7/4", "-50c", "9/8", "--program", "12", "--hold", "0"}),
              capture->hex());
}

TEST_F(BendRangeCli, TuningMethodsAndTheirBadInput)
{
    const Hex selection{"b0 65 00", "b0 64 04", "b0 06 00", "b0 65 00",
                        "b0 64 03", "b0 06 00", "b0 65 7f", "b0 64 7f"};
    EXPECT_EQ(sent({"chord", "3/2", "--hold", "0", "--tuning", "mts"}),
              concat(selection,
                     {"c0 00", "f0 7f 7f 08 02 00 01 43 43 02 40 f7", "90 43 5a", "80 43 00"}));
    // 3/2 at a member range of 48: bend 8195.
    EXPECT_EQ(sent({"chord", "3/2", "--hold", "0", "--tuning", "mpe", "--bend-range", "48"}),
              concat(concat(rangeMessages("30"),
                            {"b0 65 00", "b0 64 06", "b0 06 0f", "b1 65 00", "b1 64 00", "b1 06 30",
                             "b1 26 00", "b1 65 7f", "b1 64 7f"}),
                     {"c1 00", "e1 03 40", "91 43 5a", "81 43 00"}));
    EXPECT_EQ(sent({"chord", "3/2", "--hold", "0", "--tuning", "bend"}),
              sent({"chord", "3/2", "--hold", "0"}));

    struct Bad {
        std::vector<std::string> args;
        const char* err;
    };
    const Bad bad[] = {
        {{"chord", "3/2", "--tuning", "MTS"},
         "tonalvane-cli: --tuning takes bend, mts or mpe, not 'MTS'\n"},
        {{"play", "x.txt", "--tuning", ""},
         "tonalvane-cli: --tuning takes bend, mts or mpe, not ''\n"},
        {{"render", "a.tvk", "p.txt", "-o", "o.mid", "--tuning", "bent"},
         "tonalvane-cli: --tuning takes bend, mts or mpe, not 'bent'\n"},
        {{"chord", "3/2", "--tuning"}, "tonalvane-cli: --tuning needs a value\n"},
        {{"chord", "3/2", "--bend-range", "48"},
         "tonalvane-cli: --bend-range needs a whole number from 1 to 24, not '48'\n"},
        {{"chord", "3/2", "--tuning", "mpe", "--bend-range", "49"},
         "tonalvane-cli: --bend-range needs a whole number from 1 to 48, not '49'\n"},
        // The last key MTS can tune lies below 7F 7F 7F: beyond it, as beyond note 127.
        {{"chord", "6800c", "--tuning", "mts", "--hold", "0"},
         "tonalvane-cli: '6800c' lies outside the MIDI note range\n"},
    };
    for (const Bad& b : bad) {
        const test::CliRun run = test::runCli(scratch, b.args);
        EXPECT_EQ(run.status, 2) << b.args.front();
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), b.err);
    }
}

TEST_F(BendRangeCli, ChordSendsTheRangeFirstAndBendsForIt)
{
    const Hex fifthAt2{"c0 00", "e0 50 40", "90 43 5a", "80 43 00"};
    EXPECT_EQ(sent({"chord", "3/2", "--hold", "0"}), fifthAt2);
    EXPECT_EQ(sent({"chord", "3/2", "--hold", "0", "--bend-range", "2"}), fifthAt2);
    EXPECT_EQ(sent({"chord", "3/2", "--hold", "0", "--send-range"}),
              concat(rangeMessages("02"), fifthAt2));
    // 3/2 at range 12 is note 67 with bend 8205; 5/4 at range 24 is note 63 with 8487.
    EXPECT_EQ(sent({"chord", "--bend-range", "12", "3/2", "--hold", "0"}),
              concat(rangeMessages("0c"), {"c0 00", "e0 0d 40", "90 43 5a", "80 43 00"}));
    EXPECT_EQ(sent({"chord", "5/4", "--bend-range", "24", "--hold", "0"}),
              concat(rangeMessages("18"), {"c0 00", "e0 27 42", "90 3f 5a", "80 3f 00"}));
    EXPECT_EQ(sent({"chord", "5/4", "--bend-range", "1", "--hold", "0"}),
              concat(rangeMessages("01"), {"c0 00", "e0 1f 77", "90 3f 5a", "80 3f 00"}));
}

TEST_F(BendRangeCli, PlayRewritesTheScriptBendsForTheRange)
{
    const std::string script = scratch.file("fifth.txt");
    std::ofstream(script) << "PLAY 3/2 10 MSEC\n";
    const Hex at2 = sent({"play", script});
    ASSERT_FALSE(at2.empty());
    EXPECT_EQ(at2.front(), "e0 50 40");
    const Hex at12 = sent({"play", script, "--bend-range", "12"});
    ASSERT_EQ(at12.size(), 96 + at2.size());
    EXPECT_EQ(Hex(at12.begin(), at12.begin() + 96), rangeMessages("0c"));
    EXPECT_EQ(at12[96], "e0 0d 40");
    EXPECT_EQ(Hex(at12.begin() + 97, at12.end()), Hex(at2.begin() + 1, at2.end()));
}

TEST_F(BendRangeCli, RangesOutsideOneToTwentyFourAreRefused)
{
    for (const char* bad : {"0", "25", "-2", "x", "12.5"}) {
        std::remove(log.c_str());
        const test::CliRun chord = test::runCli(scratch, {"chord", "3/2", "--bend-range", bad});
        EXPECT_EQ(chord.status, 2) << bad;
        EXPECT_EQ(chord.err,
                  "tonalvane-cli: --bend-range needs a whole number from 1 to 24, not '" +
                      std::string(bad) + "'\n");
        EXPECT_EQ(test::runCli(scratch, {"play", "-", "--bend-range", bad}).status, 2) << bad;
        EXPECT_FALSE(std::ifstream(log).good()) << "nothing was sent for " << bad;
    }
    const test::CliRun missing = test::runCli(scratch, {"chord", "3/2", "--bend-range"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "tonalvane-cli: --bend-range needs a value\n");
}

}  // namespace
}  // namespace tv
