#include "PlayerTestSupport.h"
#include "core/script/ChannelNoteTable.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayer.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::ClockedCapture;
using test::FakeClock;
using test::waitsInMs;
using Events = std::vector<std::string>;
using Ms = std::vector<long long>;
using namespace std::chrono_literals;

std::shared_ptr<const CompiledScript> compiled(std::string_view text)
{
    return compileScript(text).code;
}

// One player run on a fake clock, with its messages and waits.
struct PlayerRun {
    explicit PlayerRun(ChannelNoteTable& table) : table(table) {}

    void play(const CompiledScript& code)
    {
        runScript(code, capture, table, clock,
                  [this](std::string_view message) { messages.emplace_back(message); });
    }

    ChannelNoteTable& table;
    FakeClock clock;
    ClockedCapture capture{clock};
    std::vector<std::string> messages;
};

TEST(ScriptPlayer, ChordFromAFreshProgram)
{
    ChannelNoteTable table;
    PlayerRun run(table);
    run.play(*compiled("PLAY 1/1 3/2 500 MSEC"));
    // All bends before the note-ons; the note-offs 100 ms before the chord's end.
    EXPECT_EQ(run.capture.events, (Events{"0: e0 00 40", "0: e1 50 40", "0: 90 3c 60",
                                          "0: 91 43 60", "400: 80 3c 00", "400: 81 43 00"}));
    EXPECT_EQ(waitsInMs(run.clock), (Ms{400, 500}));
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(table.note(0), 60);
    EXPECT_EQ(table.note(1), 67);
    EXPECT_EQ(table.note(2), ChannelNoteTable::none);
}

TEST(ScriptPlayer, TheSharedTableEndsEarlierNotesOnAChordsChannels)
{
    ChannelNoteTable table;
    const auto code = compiled("PLAY 1/1 3/2 500 MSEC");
    PlayerRun first(table);
    first.play(*code);
    PlayerRun again(table);
    again.play(*code);
    EXPECT_EQ(again.capture.events,
              (Events{"0: 80 3c 00", "0: e0 00 40", "0: 81 43 00", "0: e1 50 40", "0: 90 3c 60",
                      "0: 91 43 60", "400: 80 3c 00", "400: 81 43 00"}));

    // Another player's chord on channel 0 only ends channel 0's note.
    PlayerRun other(table);
    other.play(*compiled("PLAY 5/4 q"));
    EXPECT_EQ(other.capture.events,
              (Events{"0: 80 3c 00", "0: e0 4f 5b", "0: 90 3f 60", "400: 80 3f 00"}));
    EXPECT_EQ(table.note(0), 63);
    EXPECT_EQ(table.note(1), 67);
}

TEST(ScriptPlayer, WaitsEndAtDueTimesEvenWhenWakingLate)
{
    ChannelNoteTable table;
    PlayerRun run(table);
    run.clock.current = 1000ms;
    run.clock.lateness = 7ms;
    run.play(*compiled("PLAY 1/1 300 ms REST 200 ms PLAY 3/2 50 ms REST 1 sec PLAY 2/1 100 ms"));
    // Due: chord 0..300 (off at 200), rest to 500, short chord 500..550 (off at once),
    // rest to 1550, chord 1550..1650 (off at 1550). Late wake-ups never shift them.
    EXPECT_EQ(waitsInMs(run.clock), (Ms{1200, 1300, 1500, 1500, 1550, 2550, 2550, 2650}));
}

TEST(ScriptPlayer, ChordsShorterThanTheReleaseGap)
{
    ChannelNoteTable table;
    PlayerRun run(table);
    run.play(*compiled("PLAY 1/1 50 ms PLAY 3/2 0 ms REST 10 ms"));
    EXPECT_EQ(run.capture.events,
              (Events{"0: e0 00 40", "0: 90 3c 60", "0: 80 3c 00", "50: 80 3c 00", "50: e0 50 40",
                      "50: 90 43 60", "50: 80 43 00"}));
    EXPECT_EQ(waitsInMs(run.clock), (Ms{0, 50, 50, 50, 60}));
}

TEST(ScriptPlayer, RestsAndSilentCode)
{
    ChannelNoteTable table;
    PlayerRun rest(table);
    rest.play(*compiled("REST 70 SEC"));
    EXPECT_TRUE(rest.capture.events.empty());
    EXPECT_EQ(waitsInMs(rest.clock), (Ms{70000}));

    for (const auto& code : {CompiledScript(), CompiledScript(std::vector<std::uint8_t>{})}) {
        PlayerRun run(table);
        run.play(code);
        EXPECT_TRUE(run.capture.events.empty());
        EXPECT_TRUE(run.clock.waits.empty());
        EXPECT_TRUE(run.messages.empty());
    }
}

TEST(ScriptPlayer, UnknownOperationByteIsReportedAndEndsThePlayer)
{
    ChannelNoteTable table;
    PlayerRun run(table);
    run.play(CompiledScript(
        std::vector<std::uint8_t>{0x41, 0x50, 0x01, 0xE0, 0, 0x40, 0x90, 60, 96, 0x00}));
    EXPECT_EQ(run.messages, (std::vector<std::string>{"Cannot interpret script: A (0x41)"}));
    EXPECT_TRUE(run.capture.events.empty());
    EXPECT_EQ(table.note(0), ChannelNoteTable::none);

    // After a step that played, and for a byte that is no printable character.
    PlayerRun late(table);
    late.play(CompiledScript(std::vector<std::uint8_t>{0x52, 0, 0, 0, 20, 0x07, 0x00}));
    EXPECT_EQ(late.messages, (std::vector<std::string>{"Cannot interpret script: ? (0x07)"}));
    EXPECT_EQ(waitsInMs(late.clock), (Ms{20}));

    // Without a reporter the player just ends.
    FakeClock clock;
    ClockedCapture capture(clock);
    runScript(CompiledScript(std::vector<std::uint8_t>{0xFF}), capture, table, clock, {});
    EXPECT_TRUE(capture.events.empty());
}

TEST(ScriptPlayer, ProgramStepSendsAProgramChange)
{
    ChannelNoteTable table;
    PlayerRun run(table);
    run.play(*compiled("PLAY 1/1 *5 3/2 200 ms"));
    EXPECT_EQ(run.capture.events, (Events{"0: c1 05", "0: e0 00 40", "0: e1 50 40", "0: 90 3c 60",
                                          "0: 91 43 60", "100: 80 3c 00", "100: 81 43 00"}));
}

TEST(ScriptPlayer, ProgramStepsThatMidiCannotCarryAreSkipped)
{
    // Hand-made code: program 128, channel 16 and both at 255 send nothing, and playing goes
    // on past them; the valid steps around them are sent as they stand.
    const CompiledScript code(std::vector<std::uint8_t>{
        0x2A, 0x00, 0x80, 0x2A, 0x00, 0x7F, 0x2A, 0x10, 0x05, 0x2A, 0x0F, 0x00,
        0x2A, 0xFF, 0xFF, 0x52, 0x00, 0x00, 0x00, 0x0A, 0x2A, 0x01, 0x81, 0x00});
    ChannelNoteTable table;
    PlayerRun run(table);
    run.play(code);
    EXPECT_EQ(run.capture.events, (Events{"0: c0 7f", "0: cf 00"}));
    EXPECT_EQ(waitsInMs(run.clock), (Ms{10}));
    EXPECT_TRUE(run.messages.empty());
}

TEST(ScriptPlayer, AStoppedPlayerEndsAtOnceAndLeavesNothingSounding)
{
    // A chord-on with a rest after it and no length: only hand-made code does that.
    const CompiledScript restAfterChord(
        std::vector<std::uint8_t>{0x50, 0x01, 0xE0, 0, 0x40, 0x90, 60, 96, 0x52, 0, 0, 0, 10, 0});
    struct Case {
        const char* what;
        std::shared_ptr<const CompiledScript> code;
        std::size_t stopAtWait;
        Events events;
    };
    const std::vector<Case> cases{
        {"stopped while the chord sounds: its note-offs, then nothing",
         compiled("PLAY 1/1 3/2 500 ms PLAY 5/4"),
         1,
         {"0: e0 00 40", "0: e1 50 40", "0: 90 3c 60", "0: 91 43 60", "0: 80 3c 00",
          "0: 81 43 00"}},
        {"stopped after the chord's note-offs: nothing more",
         compiled("PLAY 5/4 500 ms REST 1"),
         2,
         {"0: e0 4f 5b", "0: 90 3f 60", "400: 80 3f 00"}},
        {"stopped in the second chord: only its own note-offs",
         compiled("PLAY 1/1 3/2 200 ms PLAY 5/4 200 ms"),
         3,
         {"0: e0 00 40", "0: e1 50 40", "0: 90 3c 60", "0: 91 43 60", "100: 80 3c 00",
          "100: 81 43 00", "200: 80 3c 00", "200: e0 4f 5b", "200: 90 3f 60", "200: 80 3f 00"}},
        {"stopped in a rest after a chord that has no length",
         std::make_shared<const CompiledScript>(restAfterChord),
         1,
         {"0: e0 00 40", "0: 90 3c 60", "0: 80 3c 00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ChannelNoteTable table;
        PlayerRun run(table);
        run.clock.stopAtWait = c.stopAtWait;
        run.play(*c.code);
        EXPECT_EQ(run.capture.events, c.events);
        EXPECT_EQ(run.clock.waits.size(), c.stopAtWait);
    }

    // Played to its end, the same code leaves its note as it was.
    ChannelNoteTable table;
    PlayerRun whole(table);
    whole.play(restAfterChord);
    EXPECT_EQ(whole.capture.events, (Events{"0: e0 00 40", "0: 90 3c 60"}));
}

TEST(ScriptPlayer, MalformedCodeStaysWithinItsChannelsAndBytes)
{
    // A chord-on step of 17 records (never compiled, but possible in a file): the 17th has
    // no channel of its own and is not played; its note-off is not sent either.
    std::vector<std::uint8_t> bytes{0x50, 17};
    for (int k = 0; k < 17; ++k) {
        const auto ch = static_cast<std::uint8_t>(k & 15);
        bytes.insert(bytes.end(),
                     {static_cast<std::uint8_t>(0xE0 + ch), 0, 0x40,
                      static_cast<std::uint8_t>(0x90 + ch), static_cast<std::uint8_t>(40 + k), 96});
    }
    bytes.insert(bytes.end(), {0x44, 0, 0, 0, 0});
    for (int k = 0; k < 17; ++k)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(0x80 + (k & 15)),
                                   static_cast<std::uint8_t>(40 + k), 0});
    bytes.push_back(0);

    ChannelNoteTable table;
    PlayerRun run(table);
    run.play(CompiledScript(bytes));
    EXPECT_EQ(run.capture.events.size(), 16u * 3);
    EXPECT_EQ(table.note(0), 40);  // not 56, the note of the 17th record

    // Records whose bytes are no MIDI channel message with data below 0x80 (a note of 200, a
    // bend with a status byte in its data, system and data bytes as status) are passed over
    // whole, bend and note-on alike, and leave the channel table alone; so is such a note-off.
    PlayerRun wild(table);
    wild.play(CompiledScript(std::vector<std::uint8_t>{
        0x50, 5,    0xE2, 0,    0x40, 0x92, 200,  96,   0xE3, 0x80, 0x40, 0x93, 61,   96,
        0xF0, 0,    0x40, 0x94, 62,   96,   0xE5, 0,    0x40, 0x70, 63,   96,   0xE6, 0x7F,
        0x7F, 0x96, 0x7F, 0x7F, 0x44, 0,    0,    0,    0,    0x82, 200,  0,    0x83, 61,
        0x80, 0x84, 62,   0,    0x85, 63,   0,    0x86, 0x7F, 0,    0}));
    // Only the valid record's channel ends the note the first chord left there.
    EXPECT_EQ(wild.capture.events, (Events{"0: 86 2e 00", "0: e6 7f 7f", "0: 96 7f 7f",
                                           "0: 84 3e 00", "0: 85 3f 00", "0: 86 7f 00"}));
    for (const int channel : {2, 3, 4, 5})
        EXPECT_EQ(table.note(channel), 40 + channel) << channel;
    EXPECT_EQ(table.note(6), 127);

    // Code cut short inside a step: nothing of the partial step is sent.
    PlayerRun cut(table);
    cut.play(CompiledScript(std::vector<std::uint8_t>{0x50, 0x02, 0xE0, 0, 0x40, 0x90, 60, 96}));
    EXPECT_TRUE(cut.capture.events.empty());
    EXPECT_TRUE(cut.messages.empty());
}

}  // namespace
}  // namespace tv
