#include "core/script/ScriptWords.h"

#include "core/script/ScriptNumbers.h"

#include <array>

namespace tv {
namespace {

constexpr std::array<std::string_view, 5> keywords{"PLAY", "SLEEP", "REST", "BASE", "TEMPO"};

struct Dynamic {
    std::string_view name;
    int velocity;
};
constexpr std::array<Dynamic, 12> dynamics{{
    {"ppppp", 31},
    {"pppp", 39},
    {"ppp", 47},
    {"pp", 55},
    {"p", 63},
    {"mp", 71},
    {"mf", 79},
    {"f", 87},
    {"ff", 95},
    {"fff", 103},
    {"ffff", 115},
    {"fffff", 127},
}};

struct NoteName {
    std::string_view name;
    int pitch;
};
constexpr std::array<NoteName, 21> noteNames{{
    {"A", 9},  {"A#", 10}, {"Bb", 10}, {"B", 11}, {"B#", 12}, {"Cb", -1}, {"C", 0},
    {"C#", 1}, {"Db", 1},  {"D", 2},   {"D#", 3}, {"Eb", 3},  {"E", 4},   {"E#", 5},
    {"Fb", 4}, {"F", 5},   {"F#", 6},  {"Gb", 6}, {"G", 7},   {"G#", 8},  {"Ab", 8},
}};

}  // namespace

bool isScriptKeyword(std::string_view word)
{
    for (const auto keyword : keywords) {
        if (equalsIgnoringCase(word, keyword))
            return true;
    }
    return false;
}

bool isCommentWord(std::string_view word)
{
    return !word.empty() && (word.front() == '/' || word.front() == '\'');
}

std::optional<int> dynamicVelocity(std::string_view word)
{
    for (const auto& dynamic : dynamics) {
        if (equalsIgnoringCase(word, dynamic.name))
            return dynamic.velocity;
    }
    return std::nullopt;
}

std::optional<double> letterQuarters(char letter, bool forTempo)
{
    switch (asciiUpper(letter)) {
    case 'D': return 8.0;
    case 'W': return 4.0;
    case 'H': return 2.0;
    case 'Q': return 1.0;
    case 'E': return 0.5;
    case 'S': return 0.25;
    case 'T': return 0.125;
    case 'X': return 1.0 / 16;
    case 'O': return 1.0 / 32;
    case 'I': return forTempo ? 1.0 / 64 : 1.0 / 32;
    default: return std::nullopt;
    }
}

std::optional<int> noteNamePitch(std::string_view name)
{
    for (const auto& note : noteNames) {
        if (equalsIgnoringCase(name, note.name))
            return note.pitch;
    }
    return std::nullopt;
}

std::optional<double> tupletFactor(std::string_view text)
{
    const LeadingReal a = leadingReal(text);
    if (a.used == 0 || a.used >= text.size() || (text[a.used] != ':' && text[a.used] != '/'))
        return std::nullopt;
    const LeadingReal b = leadingReal(text.substr(a.used + 1));
    if (b.used == 0 || b.value == 0.0)
        return std::nullopt;
    return a.value / b.value;
}

std::optional<int> velocityValue(std::string_view valueWord, double value)
{
    if (valueWord.back() == '%') {
        if (value >= 0.0 && value <= 100.0)
            return static_cast<int>(value * 1.27 + 0.5);
    } else if (valueWord.find('.') != std::string_view::npos) {
        if (value >= 0.0 && value <= 1.0)
            return static_cast<int>(value * 127 + 0.5);
    } else if (value >= 0.0 && value <= 127.0) {
        return static_cast<int>(value);
    }
    return std::nullopt;
}

std::optional<double> centsWord(std::string_view word)
{
    if (word.size() < 2 || asciiUpper(word.back()) != 'C')
        return std::nullopt;
    // The first character rules out the white space that number reading would skip.
    const char first = word.front();
    if (!isAsciiDigit(first) && first != '.' && first != '+' && first != '-')
        return std::nullopt;
    const LeadingReal cents = leadingReal(word);
    if (cents.used != word.size() - 1)
        return std::nullopt;
    return cents.value;
}

}  // namespace tv
