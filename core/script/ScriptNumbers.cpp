#include "core/script/ScriptNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tv {
namespace {

std::size_t skipBlanks(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isScriptWhiteSpace(text[i]))
        ++i;
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && isAsciiDigit(text[i]))
        ++i;
    return i;
}

}  // namespace

bool isScriptWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && startsWithIgnoringCase(a, b);
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (asciiUpper(text[i]) != asciiUpper(prefix[i]))
            return false;
    }
    return true;
}

LeadingReal leadingReal(std::string_view text)
{
    LeadingReal result;
    std::size_t i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissa = i;
    const std::size_t intEnd = skipDigits(text, i);
    std::size_t end = intEnd;
    std::size_t fracDigits = 0;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fracEnd = skipDigits(text, end + 1);
        fracDigits = fracEnd - end - 1;
        end = fracEnd;
    }
    if (intEnd == mantissa && fracDigits == 0)
        return result;
    std::int64_t exponent = 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        const std::size_t expEnd = skipDigits(text, e);
        if (expEnd > e) {
            // Kept small enough that adding the digit count below cannot overflow.
            exponent = std::clamp<std::int64_t>(
                leadingInteger(text.substr(end + 1, expEnd - end - 1)).value, -100000, 100000);
            end = expEnd;
        }
    }

    double value = 0.0;
    const auto parsed = std::from_chars(text.data() + mantissa, text.data() + end, value,
                                        std::chars_format::general);
    if (parsed.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal magnitude of the digits.
        std::size_t firstNonZero = mantissa;
        while (firstNonZero < intEnd && text[firstNonZero] == '0')
            ++firstNonZero;
        std::int64_t magnitude = static_cast<std::int64_t>(intEnd - firstNonZero);
        if (magnitude == 0 && intEnd < end && text[intEnd] == '.') {
            std::size_t z = intEnd + 1;
            while (z < end && text[z] == '0')
                ++z;
            magnitude = -static_cast<std::int64_t>(z - intEnd - 1);
        }
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    result.value = negative ? -value : value;
    result.used = end;
    return result;
}

LeadingInteger leadingInteger(std::string_view text)
{
    LeadingInteger result;
    std::size_t i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t end = skipDigits(text, i);
    if (end == i)
        return result;
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (std::size_t k = i; k < end; ++k) {
        const int digit = text[k] - '0';
        if (value > (limit - digit) / 10) {
            value = limit;
            break;
        }
        value = value * 10 + digit;
    }
    result.value = negative ? -value : value;
    result.used = end;
    return result;
}

std::optional<UnsignedTerm> leadingUnsigned(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '+')
        ++i;
    const std::size_t end = skipDigits(text, i);
    if (end == i)
        return std::nullopt;
    UnsignedTerm term;
    std::uint64_t value = 0;
    for (std::size_t k = i; k < end; ++k) {
        value = value * 10 + static_cast<std::uint64_t>(text[k] - '0');
        if (value > std::numeric_limits<std::uint32_t>::max()) {
            term.tooLarge = true;
            value = 0;
            break;
        }
    }
    term.value = static_cast<std::uint32_t>(value);
    term.used = end;
    return term;
}

std::int32_t saturatingInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::int64_t saturatingInt64(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9223372036854775807.0)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

std::uint32_t saturatingLength(double milliseconds)
{
    if (!(milliseconds > 0.0))
        return 0;
    if (milliseconds >= 4294967295.0)
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(milliseconds);
}

}  // namespace tv
