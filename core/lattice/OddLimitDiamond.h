#pragma once

#include "core/lattice/Scale.h"

#include <cstdint>
#include <vector>

namespace tv {

// The largest odd limit a new lattice is built from: 423 pitches, every one with a lattice
// place of its own.
inline constexpr std::uint32_t maxDiamondLimit = 45;

// The tonality diamond of an odd limit: every ratio n/d with n and d odd and at most `limit`,
// in lowest terms and brought into the octave [1/1, 2/1) by powers of two, each once, from the
// smallest upward. An even limit stands for the odd number below it; 0 gives nothing. The
// number of pitches grows with the square of the limit.
std::vector<ScalaPitch> oddLimitDiamond(std::uint32_t limit);

// The diamond as a scale titled "<limit>-odd-limit diamond".
Scale oddLimitDiamondScale(std::uint32_t limit);

}  // namespace tv
