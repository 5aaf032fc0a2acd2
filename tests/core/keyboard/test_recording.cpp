#include "support/ExpectedMidiFile.h"
#include "support/MidoReader.h"
#include "support/Needs.h"
#include "support/ScratchDirectory.h"

#include "core/keyboard/Recording.h"
#include "core/midi/MidiMessage.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace tv {
namespace {

using test::expectedMidiFile;
using test::readBytes;
using test::ScratchDirectory;
using Bytes = std::vector<std::uint8_t>;

// Long enough that a sort which is not stable scrambles events of the same moment.
TEST(SortEvents, ByTimeKeepingTheOrderOfEachMoment)
{
    std::vector<TimedMidiMessage> events;
    for (std::uint32_t i = 0; i < 300; ++i)
        events.push_back({(i * 37 % 7) * 100 + (i % 2 ? 0x80000000u : 0), i});
    sortEvents(events);
    ASSERT_EQ(events.size(), 300u);
    for (std::size_t k = 1; k < events.size(); ++k) {
        const auto& a = events[k - 1];
        const auto& b = events[k];
        ASSERT_TRUE(a.time < b.time || (a.time == b.time && a.message < b.message))
            << "at " << k << ": " << a.time << "/" << a.message << " then " << b.time << "/"
            << b.message;
    }
}

TEST(Recording, RecordRewindAndTheClock)
{
    Recording r;
    EXPECT_EQ(r.recordStart(), -1);
    EXPECT_FALSE(r.recordPress(3, 100));  // not recording yet

    r.toggleRecord(1000);
    EXPECT_TRUE(r.isRecording());
    EXPECT_EQ(r.recordStart(), 1000);
    EXPECT_FALSE(r.isUnsaved());
    EXPECT_TRUE(r.recordPress(7, 1500));
    EXPECT_TRUE(r.isUnsaved());
    r.toggleRecord(2000);
    EXPECT_FALSE(r.recordPress(8, 2500));
    // Record again: the clock of the first start goes on, so the pause is kept.
    r.toggleRecord(12000);
    EXPECT_EQ(r.recordStart(), 1000);
    EXPECT_TRUE(r.recordPress(0x3B, 12500));
    r.stopRecording();
    EXPECT_FALSE(r.recordPress(9, 13000));
    // Elapsed times are kept modulo 2^24 ms.
    r.toggleRecord(14000);
    EXPECT_TRUE(r.recordPress(1, 1000 + 16777215));
    EXPECT_TRUE(r.recordPress(2, 1000 + 16777216));
    EXPECT_TRUE(r.recordPress(0xFF, 1000 + 16777217));
    EXPECT_EQ(r.presses(), (std::vector<std::uint32_t>{0x0001F407, 0x002CEC3B, 0xFFFFFF01,
                                                       0x00000002, 0x000001FF}));
    r.markSaved();
    EXPECT_FALSE(r.isUnsaved());

    r.rewind();
    EXPECT_FALSE(r.isRecording());
    EXPECT_EQ(r.recordStart(), -1);
    EXPECT_TRUE(r.presses().empty());
    // A clock value that reads as -1 in 32 bits is a start like any other; a clock that
    // wraps between start and press still gives the elapsed time.
    r.toggleRecord(0xFFFFFFFFu);
    EXPECT_EQ(r.recordStart(), 0xFFFFFFFFll);
    r.toggleRecord(5);
    r.toggleRecord(6);
    EXPECT_EQ(r.recordStart(), 0xFFFFFFFFll);
    EXPECT_TRUE(r.recordPress(4, 0x1FF));
    EXPECT_EQ(r.presses(), (std::vector<std::uint32_t>{0x00020004}));
    r.rewind();
    EXPECT_FALSE(r.isUnsaved());
}

// Key codes and their scripts for the saved files below.
const std::map<std::uint8_t, Bytes>& keyCodes()
{
    static const std::map<std::uint8_t, Bytes> codes = {
        // C4 on channel 0 for 500 ms
        {10,
         {0x50, 0x01, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60, 0x44, 0x00, 0x00, 0x01, 0xF4, 0x80, 0x3C,
          0x00, 0x00}},
        // 1000 ms of silence, then E4 on channel 1 for 100 ms
        {11, {0x50, 0x00, 0x44, 0x00, 0x00, 0x03, 0xE8, 0x50, 0x01, 0xE1, 0x00, 0x20,
              0x91, 0x40, 0x50, 0x44, 0x00, 0x00, 0x00, 0x64, 0x81, 0x40, 0x00, 0x00}},
        // C4 for 4 ms, a rest of 1 ms, D4 for 5 ms
        {12, {0x50, 0x01, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60, 0x44, 0x00, 0x00, 0x00, 0x04,
              0x80, 0x3C, 0x00, 0x52, 0x00, 0x00, 0x00, 0x01, 0x50, 0x01, 0xE0, 0x00, 0x40,
              0x90, 0x3E, 0x60, 0x44, 0x00, 0x00, 0x00, 0x05, 0x80, 0x3E, 0x00, 0x00}},
        // C4 for 500 ms, then E4 with its own bend for 750 ms
        {20, {0x50, 0x01, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60, 0x44, 0x00, 0x00,
              0x01, 0xF4, 0x80, 0x3C, 0x00, 0x50, 0x01, 0xE0, 0x1A, 0x3E, 0x90,
              0x40, 0x60, 0x44, 0x00, 0x00, 0x02, 0xEE, 0x80, 0x40, 0x00, 0x00}},
        // G4 with a bend for 1000 ms
        {21,
         {0x50, 0x01, 0xE0, 0x66, 0x41, 0x90, 0x43, 0x60, 0x44, 0x00, 0x00, 0x03, 0xE8, 0x80, 0x43,
          0x00, 0x00}},
        // program steps, two of them out of range, then C4 for 500 ms
        {30,
         {0x2A, 0x00, 0x05, 0x2A, 0x10, 0x05, 0x2A, 0x0F, 0x80, 0x2A, 0x0F, 0x7F, 0x50, 0x01, 0xE0,
          0x00, 0x40, 0x90, 0x3C, 0x60, 0x44, 0x00, 0x00, 0x01, 0xF4, 0x80, 0x3C, 0x00, 0x00}},
        // the empty script
        {41, {0x00}},
    };
    return codes;
}

std::shared_ptr<const CompiledScript> codeForKey(std::uint8_t key)
{
    const auto found = keyCodes().find(key);
    if (found == keyCodes().end())
        return nullptr;
    return std::make_shared<const CompiledScript>(found->second);
}

struct SaveCase {
    const char* name;
    std::vector<std::pair<std::uint8_t, std::uint32_t>> presses;  // key code, elapsed ms
    std::uint32_t trackLength;
    Bytes eventBytes;
};

const std::vector<SaveCase>& saveCases()
{
    static const std::vector<SaveCase> cases = {
        {"empty", {}, 34, {}},
        {"keys-without-code", {{40, 0}, {41, 100}, {40, 16777215}}, 34, {}},
        {"one-chord",
         {{10, 0}},
         46,
         {0x00, 0xE0, 0x00, 0x40, 0x00, 0x90, 0x3C, 0x60, 0x3C, 0x80, 0x3C, 0x00}},
        {"silent-chord-moves-later-events",
         {{10, 0}, {11, 100}},
         58,
         {0x00, 0xE0, 0x00, 0x40, 0x00, 0x90, 0x3C, 0x60, 0x3C, 0x80, 0x3C, 0x00,
          0x48, 0xE1, 0x00, 0x20, 0x00, 0x91, 0x40, 0x50, 0x0C, 0x81, 0x40, 0x00}},
        {"4-and-5-ms", {{12, 3000}}, 58, {0x00, 0xE0, 0x00, 0x40, 0x00, 0x90, 0x3C, 0x60,
                                          0x00, 0x80, 0x3C, 0x00, 0x00, 0xE0, 0x00, 0x40,
                                          0x00, 0x90, 0x3E, 0x60, 0x01, 0x80, 0x3E, 0x00}},
        {"presses-1000-ms-apart", {{10, 0}, {10, 1000}}, 58, {0x00, 0xE0, 0x00, 0x40, 0x00, 0x90,
                                                              0x3C, 0x60, 0x3C, 0x80, 0x3C, 0x00,
                                                              0x3C, 0xE0, 0x00, 0x40, 0x00, 0x90,
                                                              0x3C, 0x60, 0x3C, 0x80, 0x3C, 0x00}},
        // Events of one moment keep the order they were added in: at 500 ms the first chord's
        // note-off, then the second chord's bend, then its note-on.
        {"equal-times-in-insertion-order",
         {{20, 0}, {21, 250}},
         70,
         {0x00, 0xE0, 0x00, 0x40, 0x00, 0x90, 0x3C, 0x60, 0x1E, 0xE0, 0x66, 0x41,
          0x00, 0x90, 0x43, 0x60, 0x1E, 0x80, 0x3C, 0x00, 0x00, 0xE0, 0x1A, 0x3E,
          0x00, 0x90, 0x40, 0x60, 0x5A, 0x80, 0x40, 0x00, 0x00, 0x80, 0x43, 0x00}},
        // The second press came 2^24 + 100 ms after the start: its time wrapped to 100 ms,
        // so it comes first.
        {"times-near-2^24",
         {{10, 16777000}, {10, 16777216 + 100}},
         60,
         {0x00, 0xE0, 0x00, 0x40, 0x00, 0x90, 0x3C, 0x60, 0x3C, 0x80, 0x3C, 0x00, 0xFA,
          0xEF, 0x70, 0xE0, 0x00, 0x40, 0x00, 0x90, 0x3C, 0x60, 0x3C, 0x80, 0x3C, 0x00}},
        {"program-steps",
         {{30, 0}},
         52,
         {0x00, 0xC0, 0x05, 0x00, 0xCF, 0x7F, 0x00, 0xE0, 0x00, 0x40, 0x00, 0x90, 0x3C, 0x60, 0x3C,
          0x80, 0x3C, 0x00}},
    };
    return cases;
}

Recording recordingOf(const SaveCase& c)
{
    Recording recording;
    for (const auto& [key, elapsed] : c.presses)
        recording.addPress(key, elapsed);
    return recording;
}

TEST(RecordingSave, FilesByteForByte)
{
    ScratchDirectory dir;
    ASSERT_FALSE(saveCases().empty());
    for (const auto& c : saveCases()) {
        SCOPED_TRACE(c.name);
        const Recording recording = recordingOf(c);
        const std::string path = dir.file(std::string(c.name) + ".mid");
        const FileResult result = recording.save(path, codeForKey);
        ASSERT_TRUE(result.ok) << result.message;
        const Bytes expected = expectedMidiFile(c.trackLength, c.eventBytes);
        EXPECT_EQ(readBytes(path), std::string(expected.begin(), expected.end()));
        EXPECT_EQ(recording.presses().size(), c.presses.size());
    }
}

TEST(RecordingSave, UnderTheTuningStandardEachKeyIsRetunedAtTheTickOfItsNoteOn)
{
    TV_NEEDS(test::MidoReader::available(), "a python3 with mido (Debian package python3-mido)");
    ScratchDirectory dir;
    std::vector<std::string> paths;
    for (const char* name : {"equal-times-in-insertion-order", "presses-1000-ms-apart"}) {
        for (const auto& c : saveCases()) {
            if (std::string(c.name) != name)
                continue;
            paths.push_back(dir.file(std::string(name) + ".mid"));
            ASSERT_TRUE(recordingOf(c).save(paths.back(), codeForKey, {TuningKind::Mts}).ok);
        }
    }
    ASSERT_EQ(paths.size(), 2u);
    const auto output = test::MidoReader::read(paths);
    ASSERT_TRUE(output.ok) << output.text;

    std::vector<std::string> lines;
    std::istringstream in(output.text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::size_t noteOns = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t space = line.find(' ');
        EXPECT_EQ(line.find(" E"), std::string::npos) << "a pitch bend under MTS: " << line;
        if (line.compare(space, 4, " 90 ") != 0)
            continue;
        ++noteOns;
        // "TICK 90 KK VV" after "TICK F0 7F 7F 08 02 00 01 KK XX YY ZZ F7".
        ASSERT_GT(i, 0u);
        const std::string key = line.substr(space + 4, 2);
        const std::string tuning = line.substr(0, space) + " F0 7F 7F 08 02 00 01 " + key + " ";
        EXPECT_EQ(lines[i - 1].substr(0, tuning.size()), tuning) << line;
    }
    // Three chords in the first recording, two in the second, each of one note.
    EXPECT_EQ(noteOns, 5u);
}

TEST(RecordingSave, UnwritableTargetKeepsTheRecording)
{
    ScratchDirectory dir;
    Recording recording;
    recording.toggleRecord(0);
    recording.recordPress(10, 20);
    const std::string path = dir.file("missing/take.mid");
    const FileResult result = recording.save(path, codeForKey);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Unable to open " + path + " for writing");
    EXPECT_TRUE(recording.isUnsaved());
    EXPECT_EQ(recording.presses(), (std::vector<std::uint32_t>{0x140A}));
}

}  // namespace
}  // namespace tv
