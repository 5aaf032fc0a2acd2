#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tv {

// Lenient number reading for script words, independent of the process locale: leading white
// space is skipped, then an optional sign and the digits (for a real number also a decimal
// point and an exponent) up to the first character that does not fit. A text with no number
// at its start reads as 0 and consumes nothing.

struct LeadingReal {
    double value = 0.0;
    std::size_t used = 0;  // characters read, 0 when there was no number
};
LeadingReal leadingReal(std::string_view text);

struct LeadingInteger {
    std::int64_t value = 0;  // saturated at the limits of 64 bits
    std::size_t used = 0;
};
LeadingInteger leadingInteger(std::string_view text);

// An unsigned decimal term as a ratio holds it: an optional '+', then at least one digit. A
// term that needs more than 32 bits is read but marked.
struct UnsignedTerm {
    std::uint32_t value = 0;
    bool tooLarge = false;
    std::size_t used = 0;
};
std::optional<UnsignedTerm> leadingUnsigned(std::string_view text);

// A real truncated toward zero, saturated at the limits of the type (NaN gives 0).
std::int32_t saturatingInt32(double value);
std::int64_t saturatingInt64(double value);
// A length in milliseconds, already rounded by the caller, truncated into 0..2^32 - 1.
std::uint32_t saturatingLength(double milliseconds);

// White space as number reading skips it: space, tab, line feed, carriage return, vertical tab
// and form feed.
bool isScriptWhiteSpace(char c);
bool isAsciiDigit(char c);
char asciiUpper(char c);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace tv
