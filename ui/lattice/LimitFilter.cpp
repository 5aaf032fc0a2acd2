#include "ui/lattice/LimitFilter.h"

#include "core/lattice/LatticeElement.h"

#include <algorithm>
#include <cstdint>

namespace tv {
namespace {

// The item of the largest odd prime of `v`: -1 for a power of two (or 0), 3 past 7.
int itemOf(std::uint32_t v)
{
    if (v == 0)
        return -1;
    int item = -1;
    constexpr std::uint32_t primes[] = {2, 3, 5, 7};
    for (int i = 0; i < 4; ++i) {
        bool divides = false;
        while (v % primes[i] == 0) {
            v /= primes[i];
            divides = true;
        }
        if (divides && i > 0)
            item = i - 1;
    }
    return v > 1 ? 3 : item;
}

}  // namespace

int limitItemOf(const LatticeElement& element)
{
    if (!element.isRatio())
        return -1;
    return std::max(itemOf(element.numerator), itemOf(element.denominator));
}

bool LimitFilter::shows(const LatticeElement& element) const
{
    if (showsAll())
        return true;
    const int item = limitItemOf(element);
    return item < 0 || shown[static_cast<std::size_t>(item)];
}

}  // namespace tv
