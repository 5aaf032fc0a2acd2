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

}  // namespace

std::vector<NeighbourPair> neighbourPairs(const Lattice& lattice)
{
    const int count = lattice.count();
    // Elements by exponent vector, each list in index order.
    std::unordered_map<Exponents, std::vector<int>, ExponentsHash> byExponents;
    byExponents.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const LatticeElement& element = *lattice.element(i);
        if (element.isRatio())
            byExponents[element.exponents].push_back(i);
    }
    std::vector<NeighbourPair> pairs;
    for (int i = 0; i < count; ++i) {
        const LatticeElement& element = *lattice.element(i);
        if (!element.isRatio())
            continue;
        for (int prime = 0; prime < static_cast<int>(element.exponents.size()); ++prime) {
            Exponents up = element.exponents;
            ++up[static_cast<std::size_t>(prime)];
            const auto found = byExponents.find(up);
            if (found == byExponents.end())
                continue;
            for (const int j : found->second)
                pairs.push_back({i, j, prime});
        }
    }
    return pairs;
}

}  // namespace tv
