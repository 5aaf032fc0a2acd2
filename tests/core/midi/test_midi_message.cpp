#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "support/CaptureMidiService.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tv {
namespace {

using Hex = std::vector<std::string>;

TEST(MidiMessage, PackingAndHex)
{
    EXPECT_EQ(packMessage(0x90, 0x3C, 0x5A), 0x5A3C90u);
    EXPECT_EQ(messageHex(programChange(0, 5)), "c0 05");
    EXPECT_EQ(messageHex(pitchBend(1, 0x50, 0x40)), "e1 50 40");
    EXPECT_EQ(messageHex(noteOn(15, 0x43, 0x5A)), "9f 43 5a");
    EXPECT_EQ(messageHex(noteOff(0, 0x3C)), "80 3c 00");
    EXPECT_EQ(messageHex(packMessage(0xD3, 0x10)), "d3 10");
    EXPECT_EQ(messageHex(packMessage(0xF8)), "f8");
    // Data bytes stay below 0x80 whatever the builders are given.
    EXPECT_EQ(messageHex(programChange(3, 133)), "c3 05");
    EXPECT_EQ(messageHex(controlChange(18, 0xFB, 0x80)), "b2 7b 00");
}

TEST(MidiMessage, LengthOnTheWireOfEveryKind)
{
    const std::pair<std::uint8_t, int> cases[] = {
        {0x80, 3}, {0x9F, 3}, {0xA0, 3}, {0xB0, 3}, {0xC5, 2}, {0xDF, 2}, {0xE0, 3},
        {0xF1, 2}, {0xF2, 3}, {0xF3, 2}, {0xF6, 1}, {0xF8, 1}, {0xFF, 1},
    };
    for (const auto& [status, length] : cases)
        EXPECT_EQ(messageLength(packMessage(status, 1, 2)), length) << int(status);
}

TEST(MidiMessage, MessagesOfAnyLengthInHexAndTheSystemExclusiveFrame)
{
    const std::vector<std::uint8_t> tuning = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00,
                                              0x01, 0x45, 0x45, 0x00, 0x00, 0xF7};
    EXPECT_EQ(messageHex(tuning), "f0 7f 7f 08 02 00 01 45 45 00 00 f7");
    EXPECT_TRUE(isSystemExclusive(tuning));
    const std::vector<std::vector<std::uint8_t>> notFramed = {
        {},
        {0xF0},
        {0xF0, 0x01},              // no F7
        {0x90, 0x3C, 0xF7},        // no F0
        {0xF0, 0x7F, 0x80, 0xF7},  // a status byte inside
        {0xF0, 0xF7, 0x01, 0xF7},
    };
    for (const auto& bytes : notFramed)
        EXPECT_FALSE(isSystemExclusive(bytes)) << messageHex(bytes);
    EXPECT_TRUE(isSystemExclusive(std::vector<std::uint8_t>{0xF0, 0xF7}));
}

TEST(MidiOutputBytes, LongMessagesPassThroughAndStopWhenTheDeviceCloses)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    MidiOutput output(capture);
    const std::uint8_t message[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    output.sendBytes(message);
    output.send(noteOn(0, 60, 90));
    EXPECT_EQ(capture->hex(), (Hex{"f0 7e 7f 09 01 f7", "90 3c 5a"}));
    output.closeDevice();
    output.sendBytes(message);
    EXPECT_EQ(capture->hex().size(), 3u);  // the note-off of closing, and nothing after it

    // Reopened over another device: the same output, nothing sounding, messages flowing again.
    auto next = std::make_shared<test::CaptureMidiService>();
    output.reopen(next);
    EXPECT_FALSE(output.sounding(0, 60));
    output.sendBytes(message);
    EXPECT_EQ(next->hex(), (Hex{"f0 7e 7f 09 01 f7"}));
}

}  // namespace
}  // namespace tv
