#pragma once

#include "core/keyboard/KeySlots.h"

#include <memory>
#include <string>
#include <vector>

namespace tv::test {

inline std::shared_ptr<const CompiledScript> code(std::vector<std::uint8_t> bytes)
{
    return std::make_shared<const CompiledScript>(std::move(bytes));
}

// CR, LF and NUL spelled out, so a failing comparison shows every byte.
inline std::string visible(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\0')
            out += "\\0";
        else
            out += c;
    }
    return out;
}

// One line for each slot that has a text or code: "#N 'text' code-hex", "-" for an absent part.
inline std::string describe(const KeySlots& slots)
{
    std::string out;
    for (int i = 0; i < keySlotCount; ++i) {
        const KeySlot& slot = *slots.slotAt(i);
        if (slot.empty())
            continue;
        out += '#';
        out += std::to_string(i);
        out += ' ';
        if (slot.scriptText) {
            out += '\'';
            out += visible(*slot.scriptText);
            out += '\'';
        } else {
            out += '-';
        }
        out += ' ';
        out += slot.code ? slot.code->hex() : "-";
        out += "\n";
    }
    return out;
}

}  // namespace tv::test
