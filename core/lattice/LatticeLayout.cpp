#include "core/lattice/LatticeLayout.h"

#include <cmath>

namespace tv {
namespace {

constexpr double layoutOrigin = 500.0;
constexpr double stepUnit = 500.0;
constexpr double boundStart = 32767.0;
// 3.14159 / 180: the truncated pi of the direction table, per degree.
constexpr double radiansPerDegree = 0.01745327777777778;

// Plot coordinates are 0..1000 by construction; the clamp keeps a stray rounding from
// wrapping the 16-bit field.
std::uint16_t plotCoordinate(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value > 1000.0)
        return 1000;
    return static_cast<std::uint16_t>(value);
}

// Clock hours of the steps of 17 to 31. The lines of 3 to 13 lie at hours 4.02, 0.86, 5.31,
// 2.51 and 5.41 (and six hours on); these fall in the gaps between them.
struct HandStep {
    std::uint32_t prime;
    double hour;
};
constexpr HandStep handSteps[] = {{17, 1.68}, {19, 3.27}, {23, 4.66}, {29, 0.14}, {31, 2.05}};

PrimeStep stepAtHour(double hour, double length)
{
    const double theta = hour * 3.14159 * (1.0 / 6.0);
    return {std::sin(theta) * length, std::cos(theta) * length};
}

}  // namespace

PrimeStep higherPrimeStep(std::uint32_t prime)
{
    for (const HandStep& step : handSteps) {
        if (step.prime == prime)
            return stepAtHour(step.hour, stepUnit * prime);
    }
    const double p = prime;
    const double cents = std::fmod(std::log2(p) * 1200.0, 1200.0);
    const double length = stepUnit * 31.0 * (1.0 + 0.5 * std::log2(p / 31.0));
    return stepAtHour(std::fmod(9.0 - cents * 0.01, 12.0), length);
}

DirectionTable buildDirectionTable()
{
    DirectionTable table;
    const double centsPerNaturalLog = 1200.0 / std::log(2.0);
    for (std::size_t i = 0; i < primeTable.size(); ++i) {
        const double c = std::log(static_cast<double>(primeTable[i])) * centsPerNaturalLog;
        const double r = std::fmod(c, 1200.0);
        const double hour = std::fmod(9.0 - r * 0.01, 12.0);
        const double theta = hour * 3.14159 * (1.0 / 6.0);
        table[i].sine = std::sin(theta);
        table[i].cosine = std::cos(theta);
    }
    return table;
}

const DirectionTable& primeDirections()
{
    static const DirectionTable table = buildDirectionTable();
    return table;
}

void placeOnLattice(LatticeElement& element, std::uint32_t numerator, std::uint32_t denominator)
{
    element.layoutY = layoutOrigin;
    element.layoutX = layoutOrigin;
    factorise(element, numerator, +1);
    factorise(element, denominator, -1);
    const auto& directions = primeDirections();
    for (std::size_t i = 0; i < primeTable.size(); ++i) {
        const double e = element.exponents[i];
        const double p = primeTable[i];
        element.layoutY += ((directions[i].cosine * stepUnit) * e) * p;
        element.layoutX += ((directions[i].sine * stepUnit) * e) * p;
    }
    for (const PrimePower& power : element.higherPrimes) {
        const PrimeStep step = higherPrimeStep(power.prime);
        element.layoutY += step.y * power.exponent;
        element.layoutX += step.x * power.exponent;
    }
}

void placePlanetary(LatticeElement& element, double cents)
{
    if (!std::isfinite(cents))
        cents = 0.0;
    const double a = (270.0 - cents * 0.3) * radiansPerDegree;
    element.plotY = plotCoordinate((std::cos(a) + 1.0) * 500.0);
    element.plotX = plotCoordinate((std::sin(a) + 1.0) * 500.0);
}

LayoutBounds layoutBounds(const std::deque<LatticeElement>& elements)
{
    LayoutBounds b{boundStart, -boundStart, boundStart, -boundStart};
    for (const auto& e : elements) {
        if (e.layoutX < b.minX)
            b.minX = e.layoutX;
        if (e.layoutX > b.maxX)
            b.maxX = e.layoutX;
        if (e.layoutY < b.minY)
            b.minY = e.layoutY;
        if (e.layoutY > b.maxY)
            b.maxY = e.layoutY;
    }
    if (b.maxX < b.minX)
        b.maxX = b.minX;
    if (b.maxY < b.minY)
        b.maxY = b.minY;
    return b;
}

void normaliseLayout(std::deque<LatticeElement>& elements)
{
    const LayoutBounds b = layoutBounds(elements);
    const double rangeX = b.maxX - b.minX;
    const double rangeY = b.maxY - b.minY;
    for (auto& e : elements) {
        e.plotX = rangeX == 0.0 ? 0 : plotCoordinate(((e.layoutX - b.minX) / rangeX) * 1000.0);
        e.plotY = rangeY == 0.0 ? 0 : plotCoordinate(((e.layoutY - b.minY) / rangeY) * 1000.0);
    }
}

}  // namespace tv
