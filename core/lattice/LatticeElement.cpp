#include "core/lattice/LatticeElement.h"

namespace tv {

void factorise(LatticeElement& element, std::uint32_t v, int sign)
{
    if (v == 1 || isPowerOfTwo(v))
        return;
    for (std::size_t i = 0; i < primeTable.size(); ++i) {
        const auto p = static_cast<std::uint32_t>(primeTable[i]);
        while (v != 0 && v % p == 0) {
            element.exponents[i] += sign;
            v /= p;
        }
    }
}

void computeLimits(LatticeElement& element)
{
    element.oLimit = element.uLimit = element.limit = 1;
    for (std::size_t i = 0; i < primeTable.size(); ++i) {
        const auto e = element.exponents[i];
        if (e == 0)
            continue;
        const auto p = static_cast<std::uint16_t>(primeTable[i]);
        element.limit = p;
        if (e > 0)
            element.oLimit = p;
        else
            element.uLimit = p;
    }
}

int limitColourIndex(std::uint32_t limit)
{
    switch (limit) {
    case 1: return 0;
    case 3: return 1;
    case 5: return 2;
    case 7: return 3;
    case 11: return 4;
    default: return 5;
    }
}

std::string exponentText(const LatticeElement& element)
{
    std::string text;
    for (std::size_t i = 0; i < element.exponents.size(); ++i) {
        if (i)
            text += ' ';
        text += std::to_string(element.exponents[i]);
    }
    return text;
}

}  // namespace tv
