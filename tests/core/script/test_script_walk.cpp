// One table of byte code read by both of its users: the player (on a fake clock) and the
// recording's expansion. They share the walk, so they agree on what is played; each keeps its
// own timing (the player ends a chord 100 ms early, the recording at its full length).

#include "PlayerTestSupport.h"
#include "core/keyboard/Recording.h"
#include "core/script/ChannelNoteTable.h"
#include "core/script/ScriptPlayer.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

struct WalkCase {
    const char* name;
    Bytes code;
    std::uint32_t recordedFrom;  // where the expansion starts; the player starts at 0
    Lines recorded;              // "TIME HEX"
    Lines played;                // "TIME: HEX"
    const char* report;          // what the player tells the user, if anything
};

TEST(ScriptWalk, PlayerAndRecordingReadEveryStepAlike)
{
    const WalkCase cases[] = {
        {"chord: bends before note-ons when played, note-offs in stored order",
         {0x50, 0x02, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60, 0xE1, 0x50, 0x40, 0x91, 0x43,
          0x60, 0x44, 0x00, 0x00, 0x01, 0xF4, 0x80, 0x3C, 0x00, 0x81, 0x43, 0x00, 0x00},
         1000,
         {"1000 e0 00 40", "1000 90 3c 60", "1000 e1 50 40", "1000 91 43 60", "1500 80 3c 00",
          "1500 81 43 00"},
         {"0: e0 00 40", "0: e1 50 40", "0: 90 3c 60", "0: 91 43 60", "400: 80 3c 00",
          "400: 81 43 00"},
         ""},
        {"a silent chord and a rest move what follows",
         {0x50, 0x00, 0x44, 0x00, 0x00, 0x03, 0xE8, 0x52, 0x00, 0x00, 0x00, 0x0A, 0x50, 0x01, 0xE0,
          0x00, 0x40, 0x90, 0x3C, 0x60, 0x44, 0x00, 0x00, 0x00, 0x64, 0x80, 0x3C, 0x00, 0x00},
         5,
         {"1015 e0 00 40", "1015 90 3c 60", "1115 80 3c 00"},
         {"1010: e0 00 40", "1010: 90 3c 60", "1010: 80 3c 00"},
         ""},
        {"a chord length before any chord moves the time only",
         {0x44, 0x00, 0x00, 0x00, 0x10, 0x50, 0x01, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60, 0x00},
         0,
         {"16 e0 00 40", "16 90 3c 60"},
         {"16: e0 00 40", "16: 90 3c 60"},
         ""},
        {"an unknown operation byte ends both where it stands",
         {0x50, 0x01, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60, 0x41, 0x44, 0x00, 0x00, 0x00, 0x64, 0x80,
          0x3C, 0x00, 0x00},
         0,
         {"0 e0 00 40", "0 90 3c 60"},
         {"0: e0 00 40", "0: 90 3c 60"},
         "Cannot interpret script: A (0x41)"},
        {"an unknown byte first: nothing at all",
         {0xFF, 0x07, 0x52, 0x00, 0x00, 0x00, 0x08, 0x50, 0x01, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60,
          0x00},
         100,
         {},
         {},
         "Cannot interpret script: ? (0xff)"},
        {"program steps at their moment; channel over 15 or program over 127 left out",
         {0x2A, 0x00, 0x05, 0x52, 0x00, 0x00, 0x00, 0x64, 0x2A, 0x0F, 0x7F, 0x2A, 0x10, 0x00, 0x2A,
          0x00, 0x80, 0x00},
         0,
         {"0 c0 05", "100 cf 7f"},
         {"0: c0 05", "100: cf 7f"},
         ""},
        {"times wrap as unsigned 32-bit numbers in the recording, not in the player",
         {0x52, 0x00, 0x00, 0x02, 0x00, 0x50, 0x01, 0xE0, 0x00, 0x40, 0x90,
          0x3C, 0x60, 0x44, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x3C, 0x00, 0x00},
         0xFFFFFF00u,
         {"256 e0 00 40", "256 90 3c 60", "255 80 3c 00"},
         {"512: e0 00 40", "512: 90 3c 60", "4294967707: 80 3c 00"},
         ""},
        {"a step cut short ends the walk and gives nothing",
         {0x50, 0x01, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60, 0x44, 0x00, 0x00, 0x00, 0x64,
          0x80, 0x3C, 0x00, 0x50, 0x02, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60, 0xE1},
         0,
         {"0 e0 00 40", "0 90 3c 60", "100 80 3c 00"},
         {"0: e0 00 40", "0: 90 3c 60", "0: 80 3c 00"},
         ""},
        {"records that are no MIDI channel message with data below 0x80 are passed over whole",
         {0x50, 0x04, 0xE0, 0x00, 0x40, 0x90, 0xC8, 0x60, 0xF1, 0x00, 0x40, 0x91, 0x3C, 0x60, 0xE2,
          0x7F, 0x7F, 0x92, 0x7F, 0x7F, 0xE3, 0x00, 0x40, 0x93, 0x3C, 0x80, 0x44, 0x00, 0x00, 0x00,
          0x01, 0x80, 0xC8, 0x00, 0x3C, 0x3C, 0x00, 0x82, 0x7F, 0x00, 0x83, 0x3C, 0x80, 0x00},
         0,
         {"0 e2 7f 7f", "0 92 7f 7f", "1 82 7f 00"},
         {"0: e2 7f 7f", "0: 92 7f 7f", "0: 82 7f 00"},
         ""},
        {"nothing after the end byte",
         {0x00, 0x50, 0x01, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60, 0x00},
         0,
         {},
         {},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CompiledScript code(c.code);

        std::vector<TimedMidiMessage> events = {{7, noteOff(9, 1)}};
        expandScript(code, c.recordedFrom, events);
        Lines recorded;
        for (std::size_t i = 1; i < events.size(); ++i)
            recorded.push_back(std::to_string(events[i].time) + " " +
                               messageHex(events[i].message));
        EXPECT_EQ(events.front(), (TimedMidiMessage{7, noteOff(9, 1)})) << "what was there stays";
        EXPECT_EQ(recorded, c.recorded);

        ChannelNoteTable table;
        test::FakeClock clock;
        test::ClockedCapture capture(clock);
        std::string report;
        runScript(code, capture, table, clock,
                  [&report](std::string_view message) { report = message; });
        EXPECT_EQ(capture.events, c.played);
        EXPECT_EQ(report, c.report);
    }
}

}  // namespace
}  // namespace tv
