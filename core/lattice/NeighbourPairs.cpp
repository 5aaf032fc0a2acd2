#include "core/lattice/NeighbourPairs.h"

#include "core/lattice/Lattice.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace tv {
namespace {

using Exponents = std::array<std::int32_t, 5>;

struct ExponentsHash {
    std::size_t operator()(const Exponents& e) const
    {
        std::uint64_t h = 0;
        for (const std::int32_t x : e)
            h = h * 1000003u + static_cast<std::uint32_t>(x);
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

// Pairs of the elements that `include` lets through; with `everyOne` false, each exponent
// vector is taken by its first element only.
std::vector<NeighbourPair> pairsOf(const Lattice& lattice,
                                   const std::function<bool(const LatticeElement&)>& include,
                                   bool everyOne)
{
    const int count = lattice.count();
    // The first element of each exponent vector, and from each element the next one with the
    // same vector (-1 at the end): lists in index order without an allocation per vector.
    std::unordered_map<Exponents, int, ExponentsHash> first;
    first.reserve(static_cast<std::size_t>(count));
    std::vector<int> next(static_cast<std::size_t>(count), -1);
    std::vector<int> last;
    if (everyOne)
        last.assign(static_cast<std::size_t>(count), -1);
    std::vector<int> taken;
    taken.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const LatticeElement& element = *lattice.element(i);
        if (!element.isRatio() || (include && !include(element)))
            continue;
        const auto [place, isNew] = first.try_emplace(element.exponents, i);
        if (isNew) {
            taken.push_back(i);
            if (everyOne)
                last[static_cast<std::size_t>(i)] = i;
        } else if (everyOne) {
            // The list's tail is kept at its head.
            const auto head = static_cast<std::size_t>(place->second);
            next[static_cast<std::size_t>(last[head])] = i;
            last[head] = i;
            taken.push_back(i);
        }
    }
    std::vector<NeighbourPair> pairs;
    for (const int i : taken) {
        const LatticeElement& element = *lattice.element(i);
        for (int prime = 0; prime < static_cast<int>(element.exponents.size()); ++prime) {
            Exponents up = element.exponents;
            ++up[static_cast<std::size_t>(prime)];
            const auto found = first.find(up);
            if (found == first.end())
                continue;
            for (int j = found->second; j >= 0; j = next[static_cast<std::size_t>(j)])
                pairs.push_back({i, j, prime});
        }
    }
    return pairs;
}

}  // namespace

std::vector<NeighbourPair> neighbourPairs(const Lattice& lattice)
{
    return pairsOf(lattice, {}, true);
}

std::vector<NeighbourPair>
distinctNeighbourPairs(const Lattice& lattice,
                       const std::function<bool(const LatticeElement&)>& include)
{
    return pairsOf(lattice, include, false);
}

}  // namespace tv
