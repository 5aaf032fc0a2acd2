#pragma once

#include <functional>
#include <vector>

namespace tv {

class Lattice;
struct LatticeElement;

// Two ratio elements one step of one prime apart: their exponent vectors differ only in the
// exponent of primeTable[prime], by exactly one. `lower` is the element with the smaller
// exponent.
struct NeighbourPair {
    int lower = 0;
    int upper = 0;
    int prime = 0;  // index into primeTable

    bool operator==(const NeighbourPair&) const = default;
};

// Every such pair of the lattice once, by `lower`, then prime, then `upper` in index order.
// Elements with equal exponents (octaves of each other, or ratios whose factors lie above 13)
// each pair with every neighbour of theirs. Cents-only elements have no place on the lattice
// and pair with nothing.
std::vector<NeighbourPair> neighbourPairs(const Lattice& lattice);

// One pair per two neighbouring places of the lattice: elements with equal exponents count
// once, as the first of them that `include` lets through; elements it turns away pair with
// nothing. In the order of neighbourPairs.
std::vector<NeighbourPair>
distinctNeighbourPairs(const Lattice& lattice,
                       const std::function<bool(const LatticeElement&)>& include);

}  // namespace tv
