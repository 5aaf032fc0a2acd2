#include "core/midi/BendRange.h"
#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "support/CaptureMidiService.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tv {
namespace {

using Hex = std::vector<std::string>;

// Registered parameter 0 set to `semitones` on every channel, then deselected, channel by
// channel.
Hex rangeOnEveryChannel(const char* semitonesHex)
{
    Hex expected;
    const char* digits = "0123456789abcdef";
    for (int channel = 0; channel < 16; ++channel) {
        const std::string status = std::string("b") + digits[channel];
        const std::string tails[] = {"65 00", "64 00", std::string("06 ") + semitonesHex,
                                     "26 00", "65 7f", "64 7f"};
        for (const std::string& tail : tails)
            expected.push_back(status + " " + tail);
    }
    return expected;
}

struct BendRangeOutputTest : ::testing::Test {
    std::shared_ptr<test::CaptureMidiService> capture =
        std::make_shared<test::CaptureMidiService>();
    MidiOutput output{capture};
};

TEST_F(BendRangeOutputTest, TheRangeGoesToAllSixteenChannelsWhenItIsNotTheDefaultOrWhenAsked)
{
    output.setBendRange(2, false);
    EXPECT_TRUE(capture->hex().empty()) << "at the defaults every byte stays as it was";

    output.setBendRange(12, false);
    EXPECT_EQ(capture->hex(), rangeOnEveryChannel("0c"));
    capture->clear();

    output.setBendRange(2, true);
    EXPECT_EQ(capture->hex(), rangeOnEveryChannel("02"));
    capture->clear();

    output.setBendRange(24, false);
    output.announceBendRange();
    Hex twice = rangeOnEveryChannel("18");
    const Hex again = twice;
    twice.insert(twice.end(), again.begin(), again.end());
    EXPECT_EQ(capture->hex(), twice);
    capture->clear();

    // Out of range is held to 1..48.
    output.setBendRange(99, false);
    EXPECT_EQ(output.bendRange(), 48);
    output.setBendRange(0, false);
    EXPECT_EQ(output.bendRange(), 1);
    EXPECT_EQ(capture->hex().back(), "bf 64 7f");
}

}  // namespace
}  // namespace tv
