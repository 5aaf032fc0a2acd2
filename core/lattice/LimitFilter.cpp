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
    default: return 3;
    }
}

bool LimitFilter::shows(const LatticeElement& element) const
{
    if (showsAll())
        return true;
    const int item = limitItemOf(element);
    return item < 0 || shown[static_cast<std::size_t>(item)];
}

}  // namespace tv
