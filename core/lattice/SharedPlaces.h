#pragma once

#include <cstddef>

namespace tv {

class Lattice;

// How many pairs of ratio elements share one plot position although they are not octaves of
// each other: labels drawn over one another. Cents-only elements have no lattice place of
// their own and are not counted.
std::size_t sharedPlaces(const Lattice& lattice);

}  // namespace tv
