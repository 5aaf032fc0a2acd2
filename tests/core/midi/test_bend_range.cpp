#include "core/midi/BendRange.h"
#include "core/midi/ChordQueue.h"
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

    // Out of range is held to 1..24.
    output.setBendRange(99, false);
    EXPECT_EQ(output.bendRange(), 24);
    output.setBendRange(0, false);
    EXPECT_EQ(output.bendRange(), 1);
    EXPECT_EQ(capture->hex().back(), "bf 64 7f");
}

TEST_F(BendRangeOutputTest, TheChordIsComputedForTheRange)
{
    ChordQueue chord(output);
    output.setBendRange(12, false);
    capture->clear();
    ASSERT_TRUE(chord.queueRatio(0, 0, 5, 4));
    ASSERT_TRUE(chord.queueRatio(1, 0, 3, 2));
    chord.sendQueued(0);
    // 5/4: note 63, bend 8781; 3/2: note 67, bend 8205.
    EXPECT_EQ(capture->hex(),
              (Hex{"c0 00", "e0 4d 44", "90 3f 5a", "c1 00", "e1 0d 40", "91 43 5a"}));
}

TEST_F(BendRangeOutputTest, ScriptBendsWrittenForTheDefaultRangeAreRewrittenForTheRangeInUse)
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
        output.sendScriptMessage(
            pitchBend(5, c.given & 127, static_cast<std::uint8_t>(c.given >> 7)));
        const auto sent = capture->messages();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(messageStatus(sent[0]), 0xE5);
        EXPECT_EQ(messageData1(sent[0]) | messageData2(sent[0]) << 7, c.sent)
            << c.given << " at range " << c.range;
    }
    // Other messages pass unchanged.
    capture->clear();
    output.sendScriptMessage(noteOn(3, 64, 90));
    EXPECT_EQ(capture->hex(), (Hex{"93 40 5a"}));
}

}  // namespace
}  // namespace tv
