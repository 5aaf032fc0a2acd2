#pragma once

#include <cstddef>
#include <string_view>

namespace tv {

// Blanks between the words of a line in the text files read here: space, tab, and the
// carriage return, vertical tab and form feed that editors leave.
constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The next word of `line` from `at`, with the blanks before it skipped; `at` ends just after
// the word. Empty at the end of the line.
inline std::string_view nextWord(std::string_view line, std::size_t& at)
{
    while (at < line.size() && isBlank(line[at]))
        ++at;
    const std::size_t start = at;
    while (at < line.size() && !isBlank(line[at]))
        ++at;
    return line.substr(start, at - start);
}

inline std::string_view firstWord(std::string_view line)
{
    std::size_t at = 0;
    return nextWord(line, at);
}

}  // namespace tv
