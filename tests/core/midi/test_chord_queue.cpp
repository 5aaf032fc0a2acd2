#include "core/midi/ChordQueue.h"
#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "support/CaptureMidiService.h"

#include <gtest/gtest.h>

#include <utility>

namespace tv {
namespace {

using Hex = std::vector<std::string>;

struct ChordQueueTest : ::testing::Test {
    std::shared_ptr<test::CaptureMidiService> capture =
        std::make_shared<test::CaptureMidiService>();
    MidiOutput output{capture};
    ChordQueue queue{output};
};

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

TEST_F(ChordQueueTest, SendQueuedSendsProgramBendAndNoteOnPerNote)
{
    ASSERT_TRUE(queue.queueRatio(0, 0, 1, 1));
    queue.sendQueued(5);
    EXPECT_EQ(capture->hex(), (Hex{"c0 05", "e0 00 40", "90 3c 5a"}));
    capture->clear();
    queue.sendNoteOffs();
    EXPECT_EQ(capture->hex(), (Hex{"80 3c 00"}));
}

TEST_F(ChordQueueTest, SecondNoteGoesOutOnItsOwnChannel)
{
    queue.queueRatio(0, 0, 1, 1);
    queue.queueRatio(1, 0, 3, 2);
    queue.sendQueued(0);
    EXPECT_EQ(capture->hex(),
              (Hex{"c0 00", "e0 00 40", "90 3c 5a", "c1 00", "e1 50 40", "91 43 5a"}));
    capture->clear();
    queue.sendNoteOffs();
    queue.sendNoteOffs();  // repeats the same note-offs
    EXPECT_EQ(capture->hex(), (Hex{"80 3c 00", "81 43 00", "80 3c 00", "81 43 00"}));
}

TEST_F(ChordQueueTest, EmptyQueueAndClearedQueueSendNothing)
{
    queue.sendQueued(0);
    queue.sendNoteOffs();
    queue.queueCents(0, 0, -50.0);
    queue.clear();
    queue.sendQueued(0);
    queue.sendNoteOffs();
    EXPECT_TRUE(capture->messages().empty());
}

TEST_F(ChordQueueTest, CentsNotesUseTheirBend)
{
    queue.queueCents(2, 0, -50.0);
    queue.sendQueued(0);
    EXPECT_EQ(capture->hex(), (Hex{"c2 00", "e2 01 30", "92 3c 5a"}));
}

TEST_F(ChordQueueTest, SeventeenthNoteIsRefused)
{
    for (int k = 0; k < 16; ++k)
        EXPECT_TRUE(queue.queueRatio(k, 0, 3, 2));
    EXPECT_FALSE(queue.queueRatio(0, 0, 5, 4));
    EXPECT_EQ(queue.size(), 16);
    queue.sendNoteOffs();
    EXPECT_EQ(capture->messages().size(), 16u);
}

TEST_F(ChordQueueTest, NotesOutsideTheMidiRangeAreLeftOut)
{
    // 3/2 nine octaves up is note 175: never sent as its low 8 bits (0xAF, a status byte).
    EXPECT_FALSE(queue.queueRatio(0, 9, 3, 2));
    EXPECT_FALSE(queue.queueRatio(0, 0, 51, 1));    // note 128
    EXPECT_FALSE(queue.queueCents(0, -5, -100.0));  // note -1
    EXPECT_TRUE(queue.queueRatio(9, 5, 3, 2));      // note 127 is fine
    EXPECT_TRUE(queue.queueRatio(1, -5, 1, 1));     // and so is note 0
    EXPECT_EQ(queue.size(), 2);
    queue.sendQueued(7);
    // The remaining notes keep their own channels and their program changes follow them there.
    EXPECT_EQ(capture->hex(),
              (Hex{"c9 07", "e9 50 40", "99 7f 5a", "c1 07", "e1 00 40", "91 00 5a"}));
}

TEST_F(ChordQueueTest, ClosingTheOutputClosesTheDevice)
{
    queue.queueRatio(0, 0, 1, 1);
    output.closeDevice();
    EXPECT_TRUE(capture->closed());
    EXPECT_TRUE(capture->messages().empty());
}

TEST(MidiOutputWithoutDevice, EverythingWorksSilently)
{
    MidiOutput output(nullptr);
    ChordQueue queue(output);
    EXPECT_TRUE(queue.queueRatio(0, 0, 3, 2));
    queue.sendQueued(0);
    queue.sendNoteOffs();
    output.closeDevice();
    EXPECT_EQ(output.noteForRatio(0, 3, 2).note, 67);
}

}  // namespace
}  // namespace tv
