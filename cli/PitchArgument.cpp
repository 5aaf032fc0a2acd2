#include "cli/PitchArgument.h"

#include "core/pitch/NumberText.h"

#include <charconv>

namespace tv::cli {
namespace {

std::optional<std::uint32_t> parseTerm(std::string_view text)
{
    std::uint32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<PitchArgument> parsePitch(const std::string& text, std::string& reason)
{
    PitchArgument pitch;
    if (!text.empty() && (text.back() == 'c' || text.back() == 'C')) {
        const auto cents = parseDouble(std::string_view(text).substr(0, text.size() - 1));
        if (!cents) {
            reason = "'" + text + "' is not a size in cents (write it as -50c or 701.955c)";
            return std::nullopt;
        }
        pitch.isRatio = false;
        pitch.cents = *cents;
        return pitch;
    }
    const auto slash = text.find('/');
    if (slash == std::string::npos) {
        reason = "'" + text + "' is not a pitch (write a ratio N/D or cents such as -50c)";
        return std::nullopt;
    }
    const auto numerator = parseTerm(std::string_view(text).substr(0, slash));
    const auto denominator = parseTerm(std::string_view(text).substr(slash + 1));
    if (!numerator || !denominator) {
        reason = "'" + text + "' is not a ratio of two whole numbers up to 4294967295";
        return std::nullopt;
    }
    if (*numerator == 0 || *denominator == 0) {
        reason = "'" + text + "' has a zero term";
        return std::nullopt;
    }
    pitch.numerator = *numerator;
    pitch.denominator = *denominator;
    return pitch;
}

}  // namespace tv::cli
