#include "core/lattice/Lattice.h"
#include "core/lattice/LatticeLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace tv {
namespace {

using Plot = std::pair<int, int>;
using Exponents = std::array<std::int32_t, 5>;

Plot plotOf(const Lattice& lattice, int index)
{
    return {lattice.plotX(index), lattice.plotY(index)};
}

Lattice defaultScale(int style)
{
    Lattice lattice;
    lattice.setStyle(style);
    lattice.loadDefaultScale();
    return lattice;
}

// Indices of the default scale's pitches.
enum { unison, m2, M2, m3, M3, P4, T, P5, m6, M6, m7, M7 };

TEST(DirectionTable, StepsPointAlongTheClockFaceOfEachPrime)
{
    const std::array<std::pair<double, double>, 5> expected{{
        {0.860861, 0.508839},
        {0.436711, -0.899602},
        {-0.352622, 0.935766},
        {0.967689, -0.252146},
        {0.306388, 0.951907},
    }};
    // A freshly built table and the one the layouts share.
    const DirectionTable built = buildDirectionTable();
    for (const DirectionTable* table : {&built, &primeDirections()}) {
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR((*table)[i].sine, expected[i].first, 5e-7) << primeTable[i];
            EXPECT_NEAR((*table)[i].cosine, expected[i].second, 5e-7) << primeTable[i];
        }
    }
}

TEST(DirectionTable, PrimesAbove13StepTheirOwnWay)
{
    // 17 to 31 at their hours and 500 * p long; larger primes from their cents, growing slowly.
    struct Case {
        std::uint32_t prime;
        double hour, length;
    };
    const Case cases[] = {
        {17, 1.68, 8500.0},
        {19, 3.27, 9500.0},
        {23, 4.66, 11500.0},
        {29, 0.14, 14500.0},
        {31, 2.05, 15500.0},
        {37, 9.0 - 2.513440, 17478.24},
        {997, 9.0 - 11.537396, 54306.21},
    };
    for (const Case& c : cases) {
        const PrimeStep step = higherPrimeStep(c.prime);
        const double theta = c.hour * 3.14159 / 6.0;
        EXPECT_NEAR(std::hypot(step.x, step.y), c.length, 0.1) << c.prime;
        EXPECT_NEAR(step.x, std::sin(theta) * c.length, 2.0) << c.prime;
        EXPECT_NEAR(step.y, std::cos(theta) * c.length, 2.0) << c.prime;
    }
}

TEST(LatticeLayout, DefaultScaleBoundsAndPlotsInTheLattice)
{
    const Lattice lattice = defaultScale(Lattice::latticeStyle);
    const LayoutBounds b = lattice.bounds();
    // The bounds to their first three decimals.
    EXPECT_EQ(std::trunc(b.minX * 1000), -2082584);
    EXPECT_EQ(std::trunc(b.maxX * 1000), 3082584);
    EXPECT_EQ(std::trunc(b.minY * 1000), -2512263);
    EXPECT_EQ(std::trunc(b.maxY * 1000), 6024184);

    EXPECT_EQ(plotOf(lattice, unison), Plot(500, 352));
    EXPECT_EQ(plotOf(lattice, M2), Plot(1000, 531));
    EXPECT_EQ(plotOf(lattice, m7), Plot(0, 174));
    EXPECT_EQ(plotOf(lattice, T), Plot(49, 1000));
    EXPECT_EQ(plotOf(lattice, M6), Plot(461, 0));
    EXPECT_EQ(plotOf(lattice, m3), Plot(538, 705));
    EXPECT_EQ(plotOf(lattice, M3), Plot(711, 89));

    EXPECT_EQ(lattice.element(m7)->exponents, (Exponents{-2, 0, 0, 0, 0}));
    EXPECT_EQ(lattice.element(T)->exponents, (Exponents{0, -1, 1, 0, 0}));
    EXPECT_EQ(lattice.limit(T), 7);
    EXPECT_EQ(lattice.uLimit(T), 5);
}

TEST(LatticeLayout, DefaultScaleOnTheCircle)
{
    const Lattice lattice = defaultScale(Lattice::planetaryStyle);
    // The truncated pi leaves 270 degrees a hair short, so 1/1 lands on 499, not 500.
    EXPECT_EQ(plotOf(lattice, unison), Plot(0, 499));
    EXPECT_EQ(plotOf(lattice, P5), Plot(930, 754));
    EXPECT_EQ(plotOf(lattice, m3), Plot(540, 1));
    EXPECT_EQ(plotOf(lattice, M6), Plot(540, 998));
    for (int i = 0; i < lattice.count(); ++i) {
        EXPECT_EQ(lattice.element(i)->exponents, Exponents{}) << i;
        EXPECT_EQ(lattice.limit(i), 1) << i;
        EXPECT_EQ(lattice.oLimit(i), 1) << i;
        EXPECT_EQ(lattice.uLimit(i), 1) << i;
    }
}

TEST(LatticeLayout, DegenerateLatticesNormaliseToTheCorner)
{
    Lattice one;
    one.addRatio("", 7, 4);
    EXPECT_EQ(plotOf(one, 0), Plot(0, 0));

    Lattice empty;
    empty.normalise();
    EXPECT_EQ(empty.count(), 0);
    EXPECT_EQ(empty.setStyle(1), 1);
    EXPECT_EQ(empty.setStyle(0), 0);

    // Cents-only elements sit on the origin, like 1/1; a prime above 13 steps away from it.
    Lattice origin;
    origin.addRatio("", 1, 1);
    origin.addRatio("", 17, 16);
    origin.addRatio("", 3, 2);
    origin.addCents("", 100.0);
    EXPECT_NE(plotOf(origin, 1), plotOf(origin, 0));
    EXPECT_EQ(plotOf(origin, 3), plotOf(origin, 0));
    EXPECT_NE(plotOf(origin, 2), plotOf(origin, 0));
}

TEST(LatticeLayout, BoundsTakeTheExtremesWhereverTheyStand)
{
    // An empty lattice keeps the start values, the smaller one raised to meet the larger.
    const LayoutBounds none = Lattice().bounds();
    EXPECT_EQ(none.minX, 32767.0);
    EXPECT_EQ(none.maxX, 32767.0);
    EXPECT_EQ(none.minY, 32767.0);
    EXPECT_EQ(none.maxY, 32767.0);

    // 9/8 lies right of and below 1/1; the first element counts for both ends of an axis.
    Lattice lattice;
    lattice.addRatio("", 9, 8);
    lattice.addRatio("", 1, 1);
    EXPECT_EQ(plotOf(lattice, 0), Plot(1000, 1000));
    EXPECT_EQ(plotOf(lattice, 1), Plot(0, 0));
}

TEST(LatticeStyle, OutOfRangeStylesChangeNothing)
{
    Lattice lattice = defaultScale(Lattice::planetaryStyle);
    const Plot before = plotOf(lattice, P5);
    EXPECT_EQ(lattice.setStyle(5), 1);
    EXPECT_EQ(lattice.setStyle(-1), 1);
    EXPECT_EQ(lattice.style(), 1);
    EXPECT_EQ(plotOf(lattice, P5), before);
}

TEST(LatticeStyle, SwitchingBackRestoresTheAnalysisAndPlaces)
{
    Lattice lattice = defaultScale(Lattice::latticeStyle);
    const Lattice original = lattice;
    lattice.setStyle(1);
    EXPECT_EQ(lattice.element(m2)->exponents, Exponents{});
    const Lattice circle = defaultScale(Lattice::planetaryStyle);
    for (int i = 0; i < lattice.count(); ++i)
        EXPECT_EQ(plotOf(lattice, i), plotOf(circle, i)) << i;
    EXPECT_EQ(lattice.setStyle(0), 0);
    EXPECT_EQ(lattice.setStyle(0), 0);  // placing again in the same style changes nothing
    for (int i = 0; i < lattice.count(); ++i) {
        EXPECT_EQ(lattice.element(i)->exponents, original.element(i)->exponents) << i;
        EXPECT_EQ(lattice.limit(i), original.limit(i)) << i;
        EXPECT_EQ(plotOf(lattice, i), plotOf(original, i)) << i;
    }
    EXPECT_TRUE(lattice.autoNormalise());
}

TEST(LatticeStyle, StylesTwoToFourKeepPlacesAndPlaceNewElementsOnTheCircle)
{
    Lattice lattice = defaultScale(Lattice::latticeStyle);
    EXPECT_EQ(lattice.setStyle(3), 3);
    EXPECT_EQ(plotOf(lattice, m7), Plot(0, 174));
    EXPECT_EQ(lattice.element(m7)->exponents, (Exponents{-2, 0, 0, 0, 0}));
    lattice.addRatio("", 3, 2);
    const Lattice circle = defaultScale(Lattice::planetaryStyle);
    EXPECT_EQ(plotOf(lattice, 12), plotOf(circle, P5));
    EXPECT_EQ(lattice.limit(12), 1);
    EXPECT_EQ(lattice.setStyle(4), 4);
    EXPECT_EQ(plotOf(lattice, m7), Plot(0, 174));
}

TEST(LatticeStyle, CentsElementsUseWholeCentsWhenRestyled)
{
    Lattice added;  // placed from the exact size
    added.setStyle(1);
    added.addCents("", 701.955);
    added.addCents("", -50.5);
    added.addCents("", 701.0);
    added.addCents("", -50.0);
    EXPECT_EQ(plotOf(added, 0), Plot(930, 754));
    EXPECT_EQ(plotOf(added, 2), Plot(931, 752));

    Lattice restyled;
    restyled.addCents("", 701.955);
    restyled.addCents("", -50.5);
    EXPECT_EQ(plotOf(restyled, 0), Plot(0, 0));
    restyled.setStyle(1);
    EXPECT_EQ(plotOf(restyled, 0), plotOf(added, 2));
    // A size below the base keeps its sign: -50 cents, not 65486.
    EXPECT_EQ(plotOf(restyled, 1), plotOf(added, 3));
    EXPECT_EQ(plotOf(restyled, 1), Plot(17, 629));
}

TEST(LatticeStyle, CentsElementsSitOnTheOriginInTheLattice)
{
    Lattice lattice;
    lattice.setStyle(1);
    lattice.addRatio("", 1, 1);
    lattice.addRatio("", 5, 4);
    lattice.addCents("", 386.0);
    lattice.setStyle(0);
    EXPECT_EQ(plotOf(lattice, 2), plotOf(lattice, 0));
    EXPECT_EQ(lattice.limit(2), 1);
    EXPECT_EQ(lattice.element(2)->layoutX, 500.0);
}

TEST(LatticeLayout, ElementTurnedIntoCentsShowsOnTheCircleUntilNormalised)
{
    Lattice lattice = defaultScale(Lattice::latticeStyle);
    const Plot latticePlace = plotOf(lattice, P5);
    lattice.setDenominator(P5, 0);
    lattice.setNumerator(P5, 0);
    lattice.setCents(P5, 100.0);
    lattice.placeCents(*lattice.element(P5), 100.0);
    EXPECT_EQ(plotOf(lattice, P5), Plot(66, 249));
    EXPECT_EQ(lattice.limit(P5), 1);
    lattice.normalise();
    EXPECT_EQ(plotOf(lattice, P5), latticePlace);
}

TEST(LatticeLayout, AutoNormaliseOffDefersPlotPositions)
{
    Lattice lattice;
    lattice.setAutoNormalise(false);
    lattice.addRatio("", 1, 1);
    lattice.addRatio("", 3, 2);
    lattice.addCents("", 100.0);
    EXPECT_EQ(plotOf(lattice, 1), Plot(0, 0));
    lattice.setAutoNormalise(true);
    lattice.addRatio("", 9, 8);
    EXPECT_EQ(plotOf(lattice, 0), Plot(0, 0));
    EXPECT_EQ(plotOf(lattice, 3), Plot(1000, 1000));
    EXPECT_EQ(plotOf(lattice, 2), plotOf(lattice, 0));
}

TEST(LatticeLayout, SizesThatAreNotFiniteStayOnThePlot)
{
    Lattice lattice;
    lattice.setStyle(1);
    lattice.addRatio("", 0, 1);  // minus infinity cents
    lattice.addRatio("", 1, 0);  // infinity cents, and a cents-only element by its denominator
    lattice.addCents("", 1e300);
    for (int i = 0; i < lattice.count(); ++i) {
        EXPECT_LE(lattice.plotX(i), 1000) << i;
        EXPECT_LE(lattice.plotY(i), 1000) << i;
    }
    EXPECT_EQ(plotOf(lattice, 0), Plot(0, 499));
}

}  // namespace
}  // namespace tv
