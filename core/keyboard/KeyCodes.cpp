#include "core/keyboard/KeyCodes.h"

#include <array>
#include <cstdint>

namespace tv {
namespace {

struct Punctuation {
    int code;
    std::string_view caption;
    std::string_view shifted;
};

// In slot order: the first six take slots 49 to 54, the last four 55 to 58.
constexpr std::array<Punctuation, 10> punctuation{{
    {keycode::semicolon, ";", ":"},
    {keycode::equals, "=", "+"},
    {keycode::comma, ",", "<"},
    {keycode::minus, "-", "_"},
    {keycode::period, ".", ">"},
    {keycode::slash, "/", "?"},
    {keycode::bracketLeft, "[", "{"},
    {keycode::backslash, "\\", "|"},
    {keycode::bracketRight, "]", "}"},
    {keycode::quote, "'", "\""},
}};

constexpr int firstDigitSlot = 1;
constexpr int firstLetterSlot = 11;
constexpr int firstFunctionSlot = 37;
constexpr int firstPunctuationSlot = 49;

constexpr std::array<std::int8_t, keyCodeCount> slotTable = [] {
    std::array<std::int8_t, keyCodeCount> table{};
    table.fill(-1);
    table[keycode::space] = 0;
    for (int i = 0; i < 10; ++i)
        table[keycode::digit0 + i] = static_cast<std::int8_t>(firstDigitSlot + i);
    for (int i = 0; i < 26; ++i)
        table[keycode::letterA + i] = static_cast<std::int8_t>(firstLetterSlot + i);
    for (int i = 0; i < 12; ++i)
        table[keycode::f1 + i] = static_cast<std::int8_t>(firstFunctionSlot + i);
    for (std::size_t i = 0; i < punctuation.size(); ++i)
        table[punctuation[i].code] = static_cast<std::int8_t>(firstPunctuationSlot + i);
    return table;
}();

constexpr std::array<std::int16_t, keySlotCount> keyTable = [] {
    std::array<std::int16_t, keySlotCount> table{};
    for (int code = 0; code < keyCodeCount; ++code) {
        if (slotTable[code] >= 0)
            table[slotTable[code]] = static_cast<std::int16_t>(code);
    }
    return table;
}();

constexpr std::string_view lowerLetters = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view upperLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view digits = "0123456789";
// Shift with the digit d gives the d-th character.
constexpr std::string_view shiftedDigits = ")!@#$%^&*(";
constexpr std::array<std::string_view, 12> functionKeys{"F1", "F2", "F3", "F4",  "F5",  "F6",
                                                        "F7", "F8", "F9", "F10", "F11", "F12"};

}  // namespace

int slotForKey(int code)
{
    if (code < 0 || code >= keyCodeCount)
        return -1;
    return slotTable[code];
}

int keyForSlot(int slot)
{
    if (slot < 0 || slot >= keySlotCount)
        return -1;
    return keyTable[slot];
}

std::string_view keyCaption(int code, bool shifted)
{
    const int slot = slotForKey(code);
    if (slot < 0 || code == keycode::space)
        return {};
    if (slot < firstLetterSlot) {
        const int digit = code - keycode::digit0;
        return (shifted ? shiftedDigits : digits).substr(digit, 1);
    }
    if (slot < firstFunctionSlot) {
        const int letter = code - keycode::letterA;
        return (shifted ? upperLetters : lowerLetters).substr(letter, 1);
    }
    if (slot < firstPunctuationSlot)
        return functionKeys[code - keycode::f1];
    const auto& key = punctuation[slot - firstPunctuationSlot];
    return shifted ? key.shifted : key.caption;
}

}  // namespace tv
