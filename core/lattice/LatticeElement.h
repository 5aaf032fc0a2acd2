#pragma once

#include "core/pitch/Ratio.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tv {

// An odd prime above 13 and its exponent in a ratio.
struct PrimePower {
    std::uint32_t prime = 0;
    std::int32_t exponent = 0;
    bool operator==(const PrimePower&) const = default;
};

// One pitch of a lattice: a ratio element (denominator != 0) or a cents-only element
// (denominator == 0, size in `cents`). Ratio terms are full 32-bit values: scale files carry
// ratios such as 531441/524288 that must never be cut to 16 bits.
struct LatticeElement {
    std::string name;
    std::uint32_t numerator = 0;
    std::uint32_t denominator = 0;
    double cents = 0.0;
    std::array<std::int32_t, 5> exponents{};
    // The exponents of the odd primes above 13, by ascending prime, none of them zero.
    std::vector<PrimePower> higherPrimes;
    std::int16_t octave = 0;
    std::uint16_t plotY = 0;
    std::uint16_t plotX = 0;
    double layoutY = 0.0;
    double layoutX = 0.0;
    std::uint32_t oLimit = 1;
    std::uint32_t uLimit = 1;
    std::uint32_t limit = 1;
    bool selected = false;

    bool isRatio() const { return denominator != 0; }
    bool operator==(const LatticeElement&) const = default;
};

// 24-bit colour as 0xRRGGBB.
using Rgb = std::uint32_t;

inline constexpr std::array<Rgb, 9> limitFillColours{
    0xFF0000,  // 1: red
    0xFFA500,  // 3: orange
    0xFFFF00,  // 5: yellow
    0x00FF00,  // 7: green
    0xEE82EE,  // 11: violet
    0xADD8E6,  // 13: light blue
    0xFF69B4,  // 17: pink
    0x008080,  // 19: teal
    0x8B4513,  // 23 and above: brown
};

inline constexpr std::array<Rgb, 9> limitTextColours{
    0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF,
};

// Adds `sign` to the element's exponent of each odd prime once per factor of it in `v`: the
// primes 3 to 13 in `exponents`, larger ones in `higherPrimes`. Powers of two, 1 and 0 change
// nothing.
void factorise(LatticeElement& element, std::uint32_t v, int sign);

// Zeroes every exponent, those of the higher primes included.
void clearExponents(LatticeElement& element);

// Sets oLimit, uLimit and limit from the exponents of every prime (1 where none qualifies).
void computeLimits(LatticeElement& element);

// The odd limit of n/d in lowest terms: the larger of its numerator's and denominator's odd
// parts (15/8: 15; 9/8: 9). 0 when n is 0.
std::uint32_t oddLimit(std::uint32_t numerator, std::uint32_t denominator);
// The largest odd prime factor of n/d in lowest terms, any size (17/16: 17); 1 for 1/1 and
// its octaves, 0 when n is 0. Unlike an element's `limit`, it does not depend on the layout
// style.
std::uint32_t primeLimit(std::uint32_t numerator, std::uint32_t denominator);

// Row of the colour tables: 1, 3, 5, 7, 11, 13, 17, 19 give 0..7, 23 and above 8, and
// anything else (2, 9, 15) 5.
int limitColourIndex(std::uint32_t limit);

// The five exponents as signed decimals separated by single spaces ("-1 -1 0 0 0").
std::string exponentText(const LatticeElement& element);

// The higher primes as "prime:exponent" separated by single spaces ("17:1 19:-1"); empty when
// there is none.
std::string higherPrimeText(const LatticeElement& element);

// The line under a label: the five exponents, then a mark for each higher prime
// ("0 0 0 0 0 17:1").
std::string exponentLine(const LatticeElement& element);

}  // namespace tv
