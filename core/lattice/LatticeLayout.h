#pragma once

#include "core/lattice/LatticeElement.h"

#include <array>
#include <cstdint>
#include <deque>

namespace tv {

// Direction of one step along a prime in the lattice picture, on the clock face that both
// layouts share: a pitch s semitones above the octave points toward hour 9 + s.
struct PrimeDirection {
    double sine = 0.0;
    double cosine = 0.0;
};

using DirectionTable = std::array<PrimeDirection, primeTable.size()>;

// Computes the table from the primes' sizes in cents. The angle uses the constant 3.14159
// rather than pi: every stored plot position depends on that value.
DirectionTable buildDirectionTable();

// The table shared by all lattices, built on first use.
const DirectionTable& primeDirections();

// One step along an odd prime above 13, in layout units. The primes 17 to 31 point between
// the lines that the steps of 3 to 13 run along and are 500 * p long like those; each larger
// prime points where its size in cents puts it on the clock face, and its length grows with
// the logarithm of the prime, so that one large prime does not squeeze the rest of the
// picture into a point.
struct PrimeStep {
    double x = 0.0;
    double y = 0.0;
};
PrimeStep higherPrimeStep(std::uint32_t prime);

// Style 0 place of n/d: adds the exponents of n/d to the element's (the caller zeroes them
// first) and sets layoutX / layoutY, one step of 500 * p units per factor p from the origin
// (500, 500); the higher primes add their steps after those of 3 to 13. Plot positions are
// left to `normaliseLayout`.
void placeOnLattice(LatticeElement& element, std::uint32_t numerator, std::uint32_t denominator);

// Circle place of a size in cents: plotX / plotY on the circle of radius 500 around
// (500, 500), 0 cents at the left, rising clockwise, one turn per 1200 cents. The layout
// coordinates are not touched. A size that is not finite is placed like 0 cents.
void placePlanetary(LatticeElement& element, double cents);

// Extent of the layout coordinates that `normaliseLayout` stretches to 0..1000. The smallest
// value starts at 32767 and the largest at -32767, so an axis whose values all lie beyond one
// of them is stretched from there; an empty lattice gives 32767 for all four.
struct LayoutBounds {
    double minX = 0.0;
    double maxX = 0.0;
    double minY = 0.0;
    double maxY = 0.0;
};

LayoutBounds layoutBounds(const std::deque<LatticeElement>& elements);

// Recomputes every plot position from the layout coordinates, each axis stretched on its own
// so that the smallest value lands on 0 and the largest on 1000 (0 when an axis has no
// extent). Cents-only elements count like any other.
void normaliseLayout(std::deque<LatticeElement>& elements);

}  // namespace tv
