#include "core/lattice/LatticeElement.h"

#include <algorithm>
#include <numeric>

namespace tv {
namespace {

std::uint32_t oddPart(std::uint32_t v)
{
    if (v == 0)
        return 0;
    while (v % 2 == 0)
        v /= 2;
    return v;
}

std::uint32_t largestOddPrime(std::uint32_t v)
{
    v = oddPart(v);
    std::uint32_t largest = 1;
    for (std::uint32_t p = 3; v > 1 && p <= v / p; p += 2) {
        while (v % p == 0) {
            v /= p;
            largest = p;
        }
    }
    return v > 1 ? std::max(largest, v) : largest;
}

void addHigherPrime(LatticeElement& element, std::uint32_t prime, std::int32_t exponent)
{
    auto& powers = element.higherPrimes;
    auto at = std::lower_bound(powers.begin(), powers.end(), prime,
                               [](const PrimePower& p, std::uint32_t q) { return p.prime < q; });
    if (at == powers.end() || at->prime != prime) {
        powers.insert(at, {prime, exponent});
        return;
    }
    at->exponent += exponent;
    if (at->exponent == 0)
        powers.erase(at);
}

// n/d in lowest terms; 0/d stays as it is.
void reduce(std::uint32_t& n, std::uint32_t& d)
{
    const std::uint32_t g = std::gcd(n, d);
    if (g > 1) {
        n /= g;
        d /= g;
    }
}

}  // namespace

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
    // What is left has no factor below 17 but two.
    v = oddPart(v);
    for (std::uint32_t p = 17; v > 1 && p <= v / p; p += 2) {
        std::int32_t count = 0;
        while (v % p == 0) {
            v /= p;
            ++count;
        }
        if (count != 0)
            addHigherPrime(element, p, sign * count);
    }
    if (v > 1)
        addHigherPrime(element, v, sign);
}

void clearExponents(LatticeElement& element)
{
    element.exponents = {};
    element.higherPrimes.clear();
}

void computeLimits(LatticeElement& element)
{
    element.oLimit = element.uLimit = element.limit = 1;
    for (std::size_t i = 0; i < primeTable.size(); ++i) {
        const auto e = element.exponents[i];
        if (e == 0)
            continue;
        const auto p = static_cast<std::uint32_t>(primeTable[i]);
        element.limit = p;
        if (e > 0)
            element.oLimit = p;
        else
            element.uLimit = p;
    }
    for (const PrimePower& power : element.higherPrimes) {
        element.limit = power.prime;
        if (power.exponent > 0)
            element.oLimit = power.prime;
        else
            element.uLimit = power.prime;
    }
}

std::uint32_t oddLimit(std::uint32_t numerator, std::uint32_t denominator)
{
    if (numerator == 0)
        return 0;
    reduce(numerator, denominator);
    return std::max(oddPart(numerator), oddPart(denominator));
}

std::uint32_t primeLimit(std::uint32_t numerator, std::uint32_t denominator)
{
    if (numerator == 0)
        return 0;
    reduce(numerator, denominator);
    return std::max(largestOddPrime(numerator), largestOddPrime(denominator));
}

int limitColourIndex(std::uint32_t limit)
{
    switch (limit) {
    case 1: return 0;
    case 3: return 1;
    case 5: return 2;
    case 7: return 3;
    case 11: return 4;
    case 17: return 6;
    case 19: return 7;
    default: return limit >= 23 ? 8 : 5;
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

std::string higherPrimeText(const LatticeElement& element)
{
    std::string text;
    for (const PrimePower& power : element.higherPrimes) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(power.prime) + ':' + std::to_string(power.exponent);
    }
    return text;
}

std::string exponentLine(const LatticeElement& element)
{
    std::string text = exponentText(element);
    if (!element.higherPrimes.empty())
        text.append(1, ' ').append(higherPrimeText(element));
    return text;
}

}  // namespace tv
