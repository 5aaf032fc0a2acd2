#include "support/ExpectedMidiFile.h"
#include "support/MidoReader.h"
#include "support/Needs.h"
#include "support/ScratchDirectory.h"

#include "core/midi/MidiMessage.h"
#include "core/midi/StandardMidiFile.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

namespace tv {
namespace {

namespace fs = std::filesystem;
using test::expectedMidiFile;
using test::expectedMidoText;
using test::readBytes;
using test::ScratchDirectory;

std::string asString(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

struct FileCase {
    const char* name;
    std::vector<TimedMidiMessage> events;
    std::uint32_t trackLength;
    std::vector<std::uint8_t> eventBytes;
    std::vector<std::string> midoMessages;  // "TICK HEX", as mido reads them back
    std::uint32_t endTick;
    LongMidiMessages longMessages = {};
};

// A system-exclusive message and its track event: a tuning message (11 bytes after F0), one
// too short to be framed, and one whose 128 bytes after F0 need two bytes of length.
FileCase exclusiveCase()
{
    const std::vector<std::uint8_t> tuning = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00,
                                              0x01, 0x45, 0x45, 0x00, 0x00, 0xF7};
    std::vector<std::uint8_t> longest(129, 0x00);
    longest.front() = 0xF0;
    longest.back() = 0xF7;
    FileCase c{"exclusive",
               {{0, longMessageEvent(0)},
                {0, noteOn(0, 0x45, 0x5A)},
                {10, longMessageEvent(1)},  // no F7: left out
                {20, longMessageEvent(9)},  // no such message: left out
                {1000, longMessageEvent(2)}},
               0,
               {0x00, 0xF0, 0x0B, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 0x45, 0x45,
                0x00, 0x00, 0xF7, 0x00, 0x90, 0x45, 0x5A, 0x78, 0xF0, 0x81, 0x00},
               {"0 F0 7F 7F 08 02 00 01 45 45 00 00 F7", "0 90 45 5A"},
               120,
               {tuning, {0xF0, 0x01, 0x02}, longest}};
    c.eventBytes.insert(c.eventBytes.end(), longest.begin() + 1, longest.end());
    c.trackLength = 34 + static_cast<std::uint32_t>(c.eventBytes.size());
    std::string hex = "120 F0";
    for (std::size_t i = 1; i < longest.size(); ++i)
        hex += i + 1 == longest.size() ? " F7" : " 00";
    c.midoMessages.push_back(hex);
    return c;
}

// A bend at 0 and a note-on `ms` later: the delta in ticks and its variable-length bytes.
FileCase deltaCase(const char* name, std::uint32_t ms, std::vector<std::uint8_t> delta,
                   std::uint32_t ticks)
{
    FileCase c{name, {{0, pitchBend(0, 0x00, 0x40)}, {ms, noteOn(0, 0x3C, 0x60)}}, 0, {}, {}, 0};
    c.eventBytes = {0x00, 0xE0, 0x00, 0x40};
    c.eventBytes.insert(c.eventBytes.end(), delta.begin(), delta.end());
    c.eventBytes.insert(c.eventBytes.end(), {0x90, 0x3C, 0x60});
    c.trackLength = 34 + static_cast<std::uint32_t>(c.eventBytes.size());
    c.midoMessages = {"0 E0 00 40", std::to_string(ticks) + " 90 3C 60"};
    c.endTick = ticks;
    return c;
}

std::vector<FileCase> fileCases()
{
    std::vector<FileCase> cases = {
        {"empty", {}, 34, {}, {}, 0},
        // The first event stands at tick 0 whatever its time; each later delta is rounded on
        // its own, so three 4 ms steps stay at tick 0 although 12 ms would be 1 tick.
        {"rounded-each",
         {{7000, noteOn(1, 60, 100)},
          {7004, noteOff(1, 60)},
          {7008, noteOn(1, 62, 100)},
          {7012, noteOff(1, 62)}},
         50,
         {0x00, 0x91, 0x3C, 0x64, 0x00, 0x81, 0x3C, 0x00, 0x00, 0x91, 0x3E, 0x64, 0x00, 0x81, 0x3E,
          0x00},
         {"0 91 3C 64", "0 81 3C 00", "0 91 3E 64", "0 81 3E 00"},
         0},
        // Two-byte messages take two bytes; messages that cannot stand in a track are left
        // out, and the delta after them counts from the last event written.
        {"lengths-and-unfit",
         {{0, programChange(5, 7) | 0xFF0000u},
          {0, packMessage(0xD0, 0x40)},
          {10, packMessage(0x45, 0x01, 0x02)},
          {20, packMessage(0xF8)},
          {30, packMessage(0x90, 0x80, 0x60)},
          {40, packMessage(0x90, 0x3C, 0x80)},
          {45, packMessage(0xF0, 0x01, 0x02)},
          {50, packMessage(0xB0, 0x07, 0x64)},
          {60, noteOff(0, 0x3C)}},
         48,
         {0x00, 0xC5, 0x07, 0x00, 0xD0, 0x40, 0x06, 0xB0, 0x07, 0x64, 0x01, 0x80, 0x3C, 0x00},
         {"0 C5 07", "0 D0 40", "6 B0 07 64", "7 80 3C 00"},
         7},
    };
    cases.push_back(exclusiveCase());
    cases.push_back(deltaCase("ms4", 4, {0x00}, 0));
    cases.push_back(deltaCase("ms5", 5, {0x01}, 1));
    cases.push_back(deltaCase("ticks127", 1062, {0x7F}, 127));
    cases.push_back(deltaCase("ticks128", 1063, {0x81, 0x00}, 128));
    cases.push_back(deltaCase("ticks16383", 136529, {0xFF, 0x7F}, 16383));
    cases.push_back(deltaCase("ticks16384", 136530, {0x81, 0x80, 0x00}, 16384));
    cases.push_back(deltaCase("ticks2097151", 17476262, {0xFF, 0xFF, 0x7F}, 2097151));
    cases.push_back(deltaCase("ticks2097152", 17476263, {0x81, 0x80, 0x80, 0x00}, 2097152));
    cases.push_back(deltaCase("ticksLongest", 2236962129u, {0xFF, 0xFF, 0xFF, 0x7F}, 268435455));
    // 268,435,456 ticks need a fifth byte, which no reader takes: cut to the longest delta.
    cases.push_back(deltaCase("ticksBeyond", 2236962130u, {0xFF, 0xFF, 0xFF, 0x7F}, 268435455));
    cases.push_back(deltaCase("msLongest", 0xFFFFFFFFu, {0xFF, 0xFF, 0xFF, 0x7F}, 268435455));
    return cases;
}

// More bytes than the writer buffers at once: 20,000 events 25 ms (3 ticks) apart.
std::vector<TimedMidiMessage> manyEvents()
{
    std::vector<TimedMidiMessage> events;
    for (std::uint32_t i = 0; i < 20000; ++i)
        events.push_back({25 * i, i % 2 ? noteOff(i % 16, i % 128) : noteOn(i % 16, i % 128, 64)});
    return events;
}

TEST(StandardMidiFile, EmptyTrackByteForByte)
{
    const std::vector<std::uint8_t> expected = {
        0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x00, 0x78,
        0x4D, 0x54, 0x72, 0x6B, 0x00, 0x00, 0x00, 0x22, 0x00, 0xFF, 0x54, 0x05, 0x40, 0x00,
        0x00, 0x00, 0x00, 0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0xFF, 0x58, 0x04,
        0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x59, 0x02, 0x00, 0x00, 0x00, 0xFF, 0x2F, 0x00};
    ASSERT_EQ(expected.size(), 56u);
    EXPECT_EQ(standardMidiFileBytes({}), expected);
}

TEST(StandardMidiFile, WrittenFilesByteForByte)
{
    ScratchDirectory dir;
    const auto cases = fileCases();
    ASSERT_FALSE(cases.empty());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(std::string(c.name) + ".mid");
        const FileResult result = writeStandardMidiFile(path, c.events, c.longMessages);
        ASSERT_TRUE(result.ok) << result.message;
        EXPECT_EQ(readBytes(path), asString(expectedMidiFile(c.trackLength, c.eventBytes)));
    }
    const std::string path = dir.file("many.mid");
    ASSERT_TRUE(writeStandardMidiFile(path, manyEvents()).ok);
    const std::string many = readBytes(path);
    EXPECT_EQ(many.size(), 56u + 20000 * 4);
    EXPECT_EQ(many, asString(standardMidiFileBytes(manyEvents())));
}

TEST(StandardMidiFile, ReadBackByMido)
{
    TV_NEEDS(test::MidoReader::available(), "a python3 with mido (Debian package python3-mido)");
    ScratchDirectory dir;
    std::vector<std::string> paths;
    std::string expected;
    for (const auto& c : fileCases()) {
        const std::string name = std::string(c.name) + ".mid";
        paths.push_back(dir.file(name));
        ASSERT_TRUE(writeStandardMidiFile(paths.back(), c.events, c.longMessages).ok);
        expected += expectedMidoText(name, c.midoMessages, c.endTick);
    }
    paths.push_back(dir.file("many.mid"));
    ASSERT_TRUE(writeStandardMidiFile(paths.back(), manyEvents()).ok);
    std::vector<std::string> many;
    for (const auto& event : manyEvents()) {
        std::string line = std::to_string(event.time * 3 / 25) + " " + messageHex(event.message);
        for (char& c : line)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        many.push_back(line);
    }
    expected += expectedMidoText("many.mid", many, 3 * 19999);
    // A file written over an older one through a symbolic link.
    const std::string target = dir.file("target.mid");
    test::writeBytes(target, "not a MIDI file");
    fs::create_symlink(target, dir.path() / "link.mid");
    ASSERT_TRUE(writeStandardMidiFile(dir.file("link.mid"), fileCases()[1].events).ok);
    paths.push_back(target);
    expected += expectedMidoText("target.mid", fileCases()[1].midoMessages, 0);

    const auto output = test::MidoReader::read(paths);
    EXPECT_TRUE(output.ok) << output.text;
    EXPECT_EQ(output.text, expected);
}

TEST(StandardMidiFile, ReplacesOnlyWholeAndThroughLinks)
{
    ScratchDirectory dir;
    const std::vector<TimedMidiMessage> events = {{0, noteOn(0, 60, 90)}, {500, noteOff(0, 60)}};
    const std::string bytes = asString(standardMidiFileBytes(events));

    // Replacing an existing file leaves nothing beside it; a link keeps pointing at it.
    const std::string target = dir.file("take.mid");
    test::writeBytes(target, std::string(5000, 'x'));
    fs::create_symlink(target, dir.path() / "link.mid");
    ASSERT_TRUE(writeStandardMidiFile(dir.file("link.mid"), events).ok);
    EXPECT_EQ(readBytes(target), bytes);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.mid"));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2);
}

}  // namespace
}  // namespace tv
