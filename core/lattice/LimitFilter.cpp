#include "core/lattice/LimitFilter.h"

#include "core/lattice/LatticeElement.h"

namespace tv {

int limitItemOf(const LatticeElement& element)
{
    if (!element.isRatio())
        return -1;
    switch (primeLimit(element.numerator, element.denominator)) {
    case 0:
    case 1: return -1;
    case 3: return 0;
    case 5: return 1;
    case 7: return 2;
    case 11: return 3;
    case 13: return 4;
    default: return 5;
    }
}

bool LimitFilter::showsAll() const
{
    for (const bool flag : shown) {
        if (!flag)
            return false;
    }
    return true;
}

bool LimitFilter::shows(const LatticeElement& element) const
{
    if (showsAll())
        return true;
    const int item = limitItemOf(element);
    return item < 0 || shown[static_cast<std::size_t>(item)];
}

}  // namespace tv
