#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tv {

// One pitch of a Scala file: a ratio of 32-bit terms, or a size in cents.
struct ScalaPitch {
    enum class Kind { invalid, ratio, cents };
    Kind kind = Kind::invalid;
    std::uint32_t numerator = 0;
    std::uint32_t denominator = 0;
    double cents = 0.0;
};

// Puts ratio pitches in order of size and keeps each ratio once, as the shapes built of ratios
// (diamonds, genera, product sets) list them.
inline void sortDistinctRatios(std::vector<ScalaPitch>& pitches)
{
    const auto below = [](const ScalaPitch& a, const ScalaPitch& b) {
        return std::uint64_t{a.numerator} * b.denominator <
               std::uint64_t{b.numerator} * a.denominator;
    };
    const auto same = [](const ScalaPitch& a, const ScalaPitch& b) {
        return a.numerator == b.numerator && a.denominator == b.denominator;
    };
    std::sort(pitches.begin(), pitches.end(), below);
    pitches.erase(std::unique(pitches.begin(), pitches.end(), same), pitches.end());
}

}  // namespace tv
