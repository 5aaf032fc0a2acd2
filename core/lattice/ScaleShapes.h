#pragma once

#include "core/lattice/Scale.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

// Scales built from a list of odd factors, each pitch a product of some of them brought into
// the octave [1/1, 2/1) by powers of two, each once, from the smallest upward.

// The most factors a shape is built from: a genus of 16 factors already has 65,536 products.
inline constexpr std::size_t maxShapeFactors = 16;

// The Euler-Fokker genus: the product of every sub-list of `factors`, the empty one (1/1)
// included. "3 3 5 7" gives 3 x 2 x 2 = 12 pitches.
std::vector<ScalaPitch> eulerFokkerGenus(const std::vector<std::uint32_t>& factors);

// The combination product set: the product of every choice of `k` of the `factors` (by place
// in the list). 2 of 1 3 5 7 is the hexany (6 pitches), 3 of 1 3 5 7 9 11 the eikosany (20).
std::vector<ScalaPitch> combinationProductSet(std::size_t k,
                                              const std::vector<std::uint32_t>& factors);

// A shape read from its text, or the message that says why it cannot be built.
struct ShapeScale {
    std::optional<Scale> scale;
    std::string message;
};

// "3 3 5 7": factors from 1 to 65,535 separated by spaces, at most maxShapeFactors of them.
ShapeScale genusScale(std::string_view text);
// "2 of 1 3 5 7": a count from 1 to the number of factors, "of", then the factors as above.
ShapeScale combinationProductScale(std::string_view text);

}  // namespace tv
