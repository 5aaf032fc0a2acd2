#include "core/pitch/Ratio.h"

#include <cmath>

namespace tv {

bool isPowerOfTwo(std::uint32_t v)
{
    if (v & 1u)
        return false;
    int bits = 0;
    for (int i = 1; i < 32 && bits < 2; ++i) {
        if (v & (1u << i))
            ++bits;
    }
    return bits == 1;
}

double ratioCents(double n, double d) { return std::log(n / d) * 1200.0 / std::log(2.0); }

}  // namespace tv
