// tonalvane-cli chord and play with --bend-range: the bytes they send, read from the MIDI log.

#include "CliRun.h"

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
