#include "cli/BendRangeOption.h"
#include "cli/CliCommand.h"
#include "core/keyboard/KeyCodes.h"
#include "core/keyboard/KeySlots.h"
#include "core/keyboard/KeyboardFile.h"
#include "core/keyboard/Recording.h"
#include "core/pitch/LineWords.h"

#include <charconv>
#include <iostream>
#include <string_view>

namespace tv::cli {
namespace {

constexpr std::uint32_t longestElapsed = 0xFFFFFF;  // 24 bits of milliseconds

bool readNumber(std::string_view word, std::uint64_t& value)
{
    if (word.empty() || word.size() > 19)
        return false;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

// One press a line: the key code and the elapsed milliseconds. Blank lines are passed over.
// Gives false, after saying which line is wrong and why, on anything else.
bool readPresses(const std::string& name, const std::string& text, Recording& recording)
{
    std::size_t lineStart = 0;
    for (int lineNumber = 1; lineStart < text.size(); ++lineNumber) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        const std::string_view line(text.data() + lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;

        std::size_t at = 0;
        const std::string_view keyWord = nextWord(line, at);
        if (keyWord.empty())
            continue;
        const std::string_view timeWord = nextWord(line, at);
        const std::string where = name + " line " + std::to_string(lineNumber) + ": ";
        std::uint64_t key = 0;
        std::uint64_t elapsed = 0;
        if (timeWord.empty() || !nextWord(line, at).empty() || !readNumber(keyWord, key) ||
            !readNumber(timeWord, elapsed)) {
            usageError(where + "expected a key code and the elapsed milliseconds, found '" +
                       std::string(line.substr(0, line.find_last_not_of(" \t\r\v\f") + 1)) + "'");
            return false;
        }
        if (key > 255) {
            usageError(where + "the key code " + std::string(keyWord) + " is above 255");
            return false;
        }
        if (elapsed > longestElapsed) {
            usageError(where + "the elapsed time " + std::string(timeWord) +
                       " ms is above 16777215 ms");
            return false;
        }
        recording.addPress(static_cast<std::uint8_t>(key), static_cast<std::uint32_t>(elapsed));
    }
    return true;
}

int render(const Arguments& given)
{
    Arguments args = given;
    std::string output;
    BendRangeChoice tuning;
    if (!takeStringOption(args, "-o", output) || !takeBendRangeOptions(args, tuning))
        return exitUsage;
    if (args.size() != 2 || output.empty())
        return usageError("render needs a keyboard file, a file of presses and -o OUT.mid");

    KeySlots slots;
    const FileResult read = readKeyboardFile(slots, args[0]);
    if (!read.ok) {
        std::cerr << read.message << '\n';
        return exitFailed;
    }
    std::string text;
    // readText has said why.
    if (!readText(args[1], text))
        return exitFailed;
    Recording recording;
    if (!readPresses(args[1] == "-" ? "standard input" : args[1], text, recording))
        return exitUsage;

    const FileResult saved = recording.save(
        output,
        [&slots](std::uint8_t keyCode) {
            const KeySlot* slot = slots.slotAt(slotForKey(keyCode));
            return slot ? slot->code : nullptr;
        },
        TrackTuning{tuning.tuning, tuning.semitones});
    if (!saved.ok) {
        std::cerr << saved.message << '\n';
        return exitFailed;
    }
    return exitOk;
}

const CliRegistration renderRegistration({
    "render",
    "render FILE.tvk PRESSES -o OUT.mid [--tuning bend|mts|mpe] [--bend-range N]",
    "    Saves key presses as a Standard MIDI File, as a keyboard window saves a recording:\n"
    "    FILE.tvk gives the keys' scripts, PRESSES (- for standard input) one press a line,\n"
    "    the key code (65 is A) and the milliseconds since the recording started. The file\n"
    "    holds the messages of the tuning method (--tuning, default bend); under mts each\n"
    "    tuning message stands just before its note-on, at the same tick.\n",
    60,
    &render,
});

}  // namespace
}  // namespace tv::cli
