#pragma once

#include "core/lattice/Scale.h"

#include <cstdint>
#include <vector>

namespace tv {

// The largest odd limit a new lattice is built from. The lattice has steps for the primes 3 to
// 13 only; from 17 on, a diamond holds ratios such as 17/16 whose larger primes have no place
// of their own and would be drawn over others, so 15 is the last limit whose every pitch
// stands apart.
inline constexpr std::uint32_t maxDiamondLimit = 15;

// The tonality diamond of an odd limit: every ratio n/d with n and d odd and at most `limit`,
// in lowest terms and brought into the octave [1/1, 2/1) by powers of two, each once, from the
// smallest upward. An even limit stands for the odd number below it; 0 gives nothing. The
// number of pitches grows with the square of the limit.
std::vector<ScalaPitch> oddLimitDiamond(std::uint32_t limit);

// The diamond as a scale titled "<limit>-odd-limit diamond".
Scale oddLimitDiamondScale(std::uint32_t limit);

}  // namespace tv
