#pragma once

#include <array>
#include <cstdint>

namespace tv {

// The five odd primes a ratio is analysed into, in the order every exponent, limit and
// direction table uses. Factors of 2 (octaves) are disregarded.
inline constexpr std::array<std::int32_t, 5> primeTable{3, 5, 7, 11, 13};

// True for 2, 4, 8, ... 2^31; false for 0, 1 and every other value.
bool isPowerOfTwo(std::uint32_t v);

// Size of n/d in cents: 1200 * ln(n / d) / ln 2, evaluated in exactly that order.
double ratioCents(double n, double d);

}  // namespace tv
