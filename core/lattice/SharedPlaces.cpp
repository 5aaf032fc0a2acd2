#include "core/lattice/SharedPlaces.h"

#include "core/lattice/Lattice.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

namespace tv {
namespace {

std::uint64_t oddPart(std::uint64_t v)
{
    while (v != 0 && v % 2 == 0)
        v /= 2;
    return v;
}

// n1/d1 and n2/d2 differ by a power of two (octaves, or the same pitch).
bool octaves(const LatticeElement& a, const LatticeElement& b)
{
    return oddPart(std::uint64_t{a.numerator} * b.denominator) ==
           oddPart(std::uint64_t{b.numerator} * a.denominator);
}

}  // namespace

std::size_t sharedPlaces(const Lattice& lattice)
{
    std::vector<const LatticeElement*> ratios;
    for (int i = 0; i < lattice.count(); ++i) {
        const LatticeElement* e = lattice.element(i);
        if (e->isRatio() && e->numerator != 0)
            ratios.push_back(e);
    }
    const auto place = [](const LatticeElement* e) { return std::tie(e->plotX, e->plotY); };
    std::sort(ratios.begin(), ratios.end(), [&](const LatticeElement* a, const LatticeElement* b) {
        return place(a) < place(b);
    });
    std::size_t shared = 0;
    for (std::size_t first = 0; first < ratios.size();) {
        std::size_t end = first + 1;
        while (end < ratios.size() && place(ratios[end]) == place(ratios[first]))
            ++end;
        for (std::size_t i = first; i < end; ++i) {
            for (std::size_t j = i + 1; j < end; ++j)
                shared += octaves(*ratios[i], *ratios[j]) ? 0 : 1;
        }
        first = end;
    }
    return shared;
}

}  // namespace tv
