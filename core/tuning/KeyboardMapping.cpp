#include "core/tuning/KeyboardMapping.h"

#include "core/pitch/FileText.h"
#include "core/pitch/LineWords.h"
#include "core/pitch/NumberText.h"
#include "core/tuning/TuningFile.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace tv {
namespace {

constexpr int maxKey = 127;
// A word from the file is quoted in a message up to this many bytes, then "...".
constexpr std::size_t maxQuotedBytes = 40;

int floorDiv(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

// A word as a message shows it: control bytes escaped, so that a terminal never receives
// them from a file, and cut short after maxQuotedBytes.
std::string quoted(std::string_view word)
{
    std::string text = "'";
    for (std::size_t i = 0; i < word.size() && i < maxQuotedBytes; ++i) {
        const auto c = static_cast<unsigned char>(word[i]);
        if (c < 0x20 || c == 0x7F) {
            constexpr std::string_view hex = "0123456789abcdef";
            text += "\\x";
            text += hex[c >> 4];
            text += hex[c & 15];
        } else {
            text += static_cast<char>(c);
        }
    }
    if (word.size() > maxQuotedBytes)
        text += "...";
    return text + "'";
}

std::optional<int> wholeNumber(std::string_view word, int max)
{
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || word.empty() || value < 0 ||
        value > max)
        return std::nullopt;
    return value;
}

// The values before the map, in the order a file gives them.
enum class Field {
    size,
    firstKey,
    lastKey,
    middleKey,
    referenceKey,
    referenceFrequency,
    octaveDegree,
    entries,
};

struct FieldText {
    const char* name;  // as "the file ends before ..." names it
    const char* rule;  // as "... must be ..." states it
};

constexpr std::array<FieldText, 7> fieldTexts{{
    {"the map size", "a whole number from 0 to 65535"},
    {"the first key mapped", "a key from 0 to 127"},
    {"the last key mapped", "a key from 0 to 127"},
    {"the middle key", "a key from 0 to 127"},
    {"the reference key", "a key from 0 to 127"},
    {"the reference frequency", "a number of Hz above 0"},
    {"the formal octave's degree", "a scale degree from 0 to 65535"},
}};

KeyboardMappingRead failure(std::uint32_t line, const std::string& reason)
{
    KeyboardMappingRead read;
    read.ok = false;
    read.line = line;
    read.message = "Invalid keyboard mapping, line " + std::to_string(line) + ": " + reason;
    return read;
}

KeyboardMappingRead badValue(std::uint32_t line, Field field, std::string_view word)
{
    const FieldText& text = fieldTexts[static_cast<std::size_t>(field)];
    return failure(line,
                   std::string(text.name) + " must be " + text.rule + ", not " + quoted(word));
}

// Shortest text that reads back as the same double, always with a point ("440.0").
std::string frequencyText(double hz)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, hz, std::chars_format::fixed);
    std::string text(buffer, result.ptr);
    if (text.find('.') == std::string::npos)
        text += ".0";
    return text;
}

}  // namespace

std::optional<int> KeyboardMapping::degreeInMap(int key) const
{
    const int offset = key - middleKey;
    if (size == 0)
        return offset;
    const int repetition = floorDiv(offset, size);
    const auto index = static_cast<std::size_t>(offset - repetition * size);
    if (index >= entries.size() || entries[index] == unmapped)
        return std::nullopt;
    return repetition * octaveDegree + entries[index];
}

std::optional<int> KeyboardMapping::keyDegree(int key) const
{
    if (key < firstKey || key > lastKey)
        return std::nullopt;
    return degreeInMap(key);
}

std::optional<KeyPitch> KeyboardMapping::keyPitch(const KeyScale& scale, int key) const
{
    const auto degree = keyDegree(key);
    if (!degree)
        return std::nullopt;
    return scale.pitch(*degree);
}

double KeyboardMapping::keyTuning(const KeyScale& scale, int key) const
{
    const auto pitch = keyPitch(scale, key);
    if (!pitch)
        return 100.0 * key;
    // The reference key anchors the scale whether or not it lies between the first and last
    // key mapped.
    const auto reference = degreeInMap(referenceKey);
    if (!reference)
        return 100.0 * middleKey + pitch->cents;
    const double referenceCents = 1200.0 * std::log2(referenceFrequency / keyZeroFrequency);
    return referenceCents + pitch->cents - scale.pitch(*reference).cents;
}

KeyboardMappingRead parseKeyboardMapping(std::string_view text)
{
    KeyboardMappingRead read;
    KeyboardMapping& m = read.mapping;
    Field field = Field::size;
    std::uint32_t lineNumber = 0;
    std::uint32_t lastKeyLine = 0;
    // A byte order mark that an editor put at the start is no part of the first line.
    std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        const std::string_view word = firstWord(line);
        if (word.empty() || word.front() == '!')
            continue;

        std::optional<int> number;
        switch (field) {
        case Field::size:
            if (!(number = wholeNumber(word, KeyboardMapping::maxNumber)))
                return badValue(lineNumber, field, word);
            m.size = *number;
            break;
        case Field::firstKey:
        case Field::lastKey:
        case Field::middleKey:
        case Field::referenceKey:
            if (!(number = wholeNumber(word, maxKey)))
                return badValue(lineNumber, field, word);
            if (field == Field::firstKey) {
                m.firstKey = *number;
            } else if (field == Field::lastKey) {
                m.lastKey = *number;
                lastKeyLine = lineNumber;
            } else if (field == Field::middleKey) {
                m.middleKey = *number;
            } else {
                m.referenceKey = *number;
            }
            break;
        case Field::referenceFrequency: {
            const auto hz = parseDouble(word);
            if (!hz || !std::isfinite(*hz) || *hz <= 0.0)
                return badValue(lineNumber, field, word);
            m.referenceFrequency = *hz;
            break;
        }
        case Field::octaveDegree:
            if (!(number = wholeNumber(word, KeyboardMapping::maxNumber)))
                return badValue(lineNumber, field, word);
            m.octaveDegree = *number;
            break;
        case Field::entries:
            if (m.entries.size() >= static_cast<std::size_t>(m.size))
                return failure(lineNumber, "the map lists more entries than its size, " +
                                               std::to_string(m.size));
            if (word == "x" || word == "X") {
                m.entries.push_back(KeyboardMapping::unmapped);
            } else if ((number = wholeNumber(word, KeyboardMapping::maxNumber))) {
                m.entries.push_back(*number);
            } else {
                return failure(lineNumber,
                               "a map entry must be a scale degree from 0 to 65535 or x, not " +
                                   quoted(word));
            }
            continue;
        }
        field = static_cast<Field>(static_cast<int>(field) + 1);
        if (field == Field::middleKey && m.lastKey < m.firstKey)
            return failure(lastKeyLine, "the last key mapped, " + std::to_string(m.lastKey) +
                                            ", is below the first, " + std::to_string(m.firstKey));
    }
    if (field != Field::entries)
        return failure(lineNumber + 1, "the file ends before " +
                                           std::string(fieldTexts[static_cast<int>(field)].name));
    return read;
}

KeyboardMappingRead readKeyboardMappingFile(const std::string& path)
{
    std::string text;
    switch (readFileText(path, keyboardMappingMaxFileBytes, text)) {
    case FileTextStatus::ok: return parseKeyboardMapping(text);
    case FileTextStatus::tooLarge: {
        KeyboardMappingRead read;
        read.ok = false;
        read.message = path + " is too large to be a keyboard mapping";
        return read;
    }
    case FileTextStatus::unableToOpen:
    case FileTextStatus::unableToRead: break;
    }
    KeyboardMappingRead read;
    read.ok = false;
    read.message = "Unable to open " + path;
    return read;
}

std::string keyboardMappingText(const KeyboardMapping& m)
{
    std::string text;
    const auto line = [&text](const std::string& content) { text += content + "\r\n"; };
    line("! Keyboard mapping");
    line("!");
    line("! Size of map (0: every key plays the next degree):");
    line(std::to_string(m.size));
    line("! First MIDI key mapped:");
    line(std::to_string(m.firstKey));
    line("! Last MIDI key mapped:");
    line(std::to_string(m.lastKey));
    line("! Middle key, which plays degree 0:");
    line(std::to_string(m.middleKey));
    line("! Reference key:");
    line(std::to_string(m.referenceKey));
    line("! Frequency of the reference key in Hz:");
    line(frequencyText(m.referenceFrequency));
    line("! Scale degree of the formal octave:");
    line(std::to_string(m.octaveDegree));
    line("! Mapping, from the middle key up (x: unmapped):");
    for (int i = 0; i < m.size; ++i) {
        const bool listed = static_cast<std::size_t>(i) < m.entries.size();
        const int entry =
            listed ? m.entries[static_cast<std::size_t>(i)] : KeyboardMapping::unmapped;
        line(entry == KeyboardMapping::unmapped ? std::string("x") : std::to_string(entry));
    }
    return text;
}

FileResult writeKeyboardMappingFile(const KeyboardMapping& mapping, const std::string& path)
{
    return writeTuningFile(path, keyboardMappingText(mapping));
}

}  // namespace tv
