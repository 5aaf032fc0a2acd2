#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tv::cli {

// A pitch on the command line: a ratio "N/D" with 32-bit terms, both above 0, or a size in
// cents written as a number followed by "c" ("-50c", "701.955c").
struct PitchArgument {
    bool isRatio = true;
    std::uint32_t numerator = 0;
    std::uint32_t denominator = 0;
    double cents = 0.0;
};

// Nothing (and a reason) when the text is neither form.
std::optional<PitchArgument> parsePitch(const std::string& text, std::string& reason);

}  // namespace tv::cli
