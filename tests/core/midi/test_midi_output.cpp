#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "support/CaptureMidiService.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using Hex = std::vector<std::string>;

struct MidiOutputTest : ::testing::Test {
    std::shared_ptr<test::CaptureMidiService> capture =
        std::make_shared<test::CaptureMidiService>();
    MidiOutput output{capture};

    void play()
    {
        output.send(noteOn(0, 60, 90));
        output.send(noteOn(15, 127, 1));
        output.send(noteOn(2, 0, 90));
        output.send(noteOn(3, 64, 90));
        output.send(noteOff(3, 64));
        output.send(noteOn(5, 70, 90));
        output.send(noteOn(5, 70, 0));  // velocity 0 ends a note
        output.send(noteOn(6, 71, 0));  // and starts none
        output.send(pitchBend(0, 0, 64));
        // A stray note byte with its top bit set stays within the table of sounding notes.
        output.send(packMessage(0x9F, 0xFF, 0x40));
        capture->clear();
    }
};

TEST_F(MidiOutputTest, ClosingEndsEverySoundingNoteOnceAndThenSendsNothing)
{
    play();
    EXPECT_TRUE(output.sounding(0, 60));
    EXPECT_FALSE(output.sounding(3, 64));
    output.closeDevice();
    EXPECT_EQ(capture->hex(), (Hex{"80 3c 00", "82 00 00", "8f 7f 00"}));
    EXPECT_TRUE(capture->closed());
    output.send(noteOn(0, 60, 90));
    output.closeDevice();
    EXPECT_EQ(capture->hex().size(), 3u);
}

TEST_F(MidiOutputTest, PanicSendsAllNotesOffOnEveryChannelThenTheSoundingNoteOffs)
{
    play();
    output.panic();
    Hex expected;
    for (const char* status : {"b0", "b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8", "b9", "ba",
                               "bb", "bc", "bd", "be", "bf"})
        expected.push_back(std::string(status) + " 7b 00");
    expected.push_back("80 3c 00");
    expected.push_back("82 00 00");
    expected.push_back("8f 7f 00");
    EXPECT_EQ(capture->hex(), expected);
    capture->clear();
    output.panic();  // nothing is sounding any more: the controllers alone
    EXPECT_EQ(capture->hex().size(), 16u);
}

}  // namespace
}  // namespace tv
