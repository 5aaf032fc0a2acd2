#include "core/lattice/OddLimitDiamond.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace tv {

std::vector<ScalaPitch> oddLimitDiamond(std::uint32_t limit)
{
    std::vector<ScalaPitch> pitches;
    // Terms stay below twice the limit, so 64-bit arithmetic never overflows.
    for (std::uint64_t n = 1; n <= limit; n += 2) {
        for (std::uint64_t d = 1; d <= limit; d += 2) {
            if (std::gcd(n, d) != 1)
                continue;
            std::uint64_t numerator = n;
            std::uint64_t denominator = d;
            while (numerator < denominator)
                numerator *= 2;
            while (numerator >= 2 * denominator)
                denominator *= 2;
            ScalaPitch pitch;
            pitch.kind = ScalaPitch::Kind::ratio;
            pitch.numerator = static_cast<std::uint32_t>(numerator);
            pitch.denominator = static_cast<std::uint32_t>(denominator);
            pitches.push_back(pitch);
        }
    }
    sortDistinctRatios(pitches);
    return pitches;
}

Scale oddLimitDiamondScale(std::uint32_t limit)
{
    Scale scale;
    scale.title = std::to_string(limit) + "-odd-limit diamond";
    scale.pitches = oddLimitDiamond(limit);
    return scale;
}

}  // namespace tv
