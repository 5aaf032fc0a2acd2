#include "core/lattice/LatticeElement.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

LatticeElement analysed(std::uint32_t n, std::uint32_t d)
{
    LatticeElement e;
    e.numerator = n;
    e.denominator = d;
    factorise(e, n, +1);
    factorise(e, d, -1);
    computeLimits(e);
    return e;
}

using Exponents = std::array<std::int32_t, 5>;

TEST(RatioAnalysis, PowerOfTwoExcludesOneZeroAndMixedValues)
{
    EXPECT_FALSE(isPowerOfTwo(0));
    EXPECT_FALSE(isPowerOfTwo(1));
    EXPECT_FALSE(isPowerOfTwo(3));
    EXPECT_FALSE(isPowerOfTwo(6));
    EXPECT_FALSE(isPowerOfTwo(0xFFFFFFFEu));
    for (int i = 1; i < 32; ++i)
        EXPECT_TRUE(isPowerOfTwo(1u << i)) << i;
}

TEST(RatioAnalysis, ExponentsAndLimitsOfTheWorkedRatios)
{
    struct Case {
        std::uint32_t n, d;
        Exponents exponents;
        std::uint32_t oLimit, uLimit, limit;
    };
    const Case cases[] = {
        {1, 1, {0, 0, 0, 0, 0}, 1, 1, 1},
        {3, 2, {1, 0, 0, 0, 0}, 3, 1, 3},
        {16, 15, {-1, -1, 0, 0, 0}, 1, 5, 5},
        {7, 5, {0, -1, 1, 0, 0}, 7, 5, 7},
        {13, 8, {0, 0, 0, 0, 1}, 13, 1, 13},
        {6, 4, {1, 0, 0, 0, 0}, 3, 1, 3},
        {9, 6, {1, 0, 0, 0, 0}, 3, 1, 3},
        {17, 16, {0, 0, 0, 0, 0}, 17, 1, 17},
        {19, 16, {0, 0, 0, 0, 0}, 19, 1, 19},
        {51, 32, {1, 0, 0, 0, 0}, 17, 1, 17},
        {11, 7, {0, 0, -1, 1, 0}, 11, 7, 11},
        // A 32-bit ratio from the scale archive: 3^12 / 2^19.
        {531441, 524288, {12, 0, 0, 0, 0}, 3, 1, 3},
    };
    for (const auto& c : cases) {
        const auto e = analysed(c.n, c.d);
        EXPECT_EQ(e.exponents, c.exponents) << c.n << "/" << c.d;
        EXPECT_EQ(e.oLimit, c.oLimit) << c.n << "/" << c.d;
        EXPECT_EQ(e.uLimit, c.uLimit) << c.n << "/" << c.d;
        EXPECT_EQ(e.limit, c.limit) << c.n << "/" << c.d;
    }
}

TEST(RatioAnalysis, PrimesAbove13HaveTheirOwnExponentsAndLimits)
{
    struct Case {
        std::uint32_t n, d;
        std::vector<PrimePower> higher;
        std::uint32_t oLimit, uLimit, limit;
        const char* line;
    };
    const Case cases[] = {
        {17, 16, {{17, 1}}, 17, 1, 17, "0 0 0 0 0 17:1"},
        {32, 19, {{19, -1}}, 1, 19, 19, "0 0 0 0 0 19:-1"},
        {23 * 29, 31 * 16, {{23, 1}, {29, 1}, {31, -1}}, 29, 31, 31, "0 0 0 0 0 23:1 29:1 31:-1"},
        // Squares and cancelling factors; a common factor of both terms goes.
        {867, 512, {{17, 2}}, 17, 1, 17, "1 0 0 0 0 17:2"},
        {17 * 13, 17 * 8, {}, 13, 1, 13, "0 0 0 0 1"},
        {19 * 3, 17 * 32, {{17, -1}, {19, 1}}, 19, 17, 19, "1 0 0 0 0 17:-1 19:1"},
        // A prime between 37 and 1,000 and one above 65,536 (the largest 32-bit prime too).
        {997, 512, {{997, 1}}, 997, 1, 997, "0 0 0 0 0 997:1"},
        {65537, 65536, {{65537, 1}}, 65537, 1, 65537, "0 0 0 0 0 65537:1"},
        {2147483648u,
         4294967291u,
         {{4294967291u, -1}},
         1,
         4294967291u,
         4294967291u,
         "0 0 0 0 0 4294967291:-1"},
        {65519u * 65521u,
         3,
         {{65519, 1}, {65521, 1}},
         65521,
         3,
         65521,
         "-1 0 0 0 0 65519:1 65521:1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << "/" << c.d);
        const auto e = analysed(c.n, c.d);
        EXPECT_EQ(e.higherPrimes, c.higher);
        EXPECT_EQ(e.oLimit, c.oLimit);
        EXPECT_EQ(e.uLimit, c.uLimit);
        EXPECT_EQ(e.limit, c.limit);
        EXPECT_EQ(exponentLine(e), c.line);
        const std::string line = c.line;
        std::size_t marks = 0;
        for (int k = 0; k < 5 && !c.higher.empty(); ++k)
            marks = line.find(' ', marks) + 1;
        EXPECT_EQ(higherPrimeText(e), c.higher.empty() ? "" : line.substr(marks));
    }
}

TEST(RatioAnalysis, FactoriseOfZeroChangesNothing)
{
    LatticeElement e;
    factorise(e, 0, +1);
    EXPECT_EQ(e.exponents, (Exponents{0, 0, 0, 0, 0}));
}

TEST(RatioAnalysis, CentsOnlyElementHasNeutralAnalysis)
{
    LatticeElement e;
    e.cents = 701.955;
    computeLimits(e);
    EXPECT_FALSE(e.isRatio());
    EXPECT_EQ(e.limit, 1);
    EXPECT_EQ(exponentText(e), "0 0 0 0 0");
}

TEST(RatioAnalysis, CentsOfRatios)
{
    EXPECT_NEAR(ratioCents(3, 2), 701.955000865, 1e-8);
    EXPECT_NEAR(ratioCents(2, 3), -701.955000865, 1e-8);
    EXPECT_DOUBLE_EQ(ratioCents(1, 1), 0.0);
    EXPECT_DOUBLE_EQ(ratioCents(2, 1), 1200.0);
    EXPECT_NEAR(ratioCents(4294967295u, 1), 1200.0 * 32, 1e-6);
}

TEST(RatioAnalysis, ExponentTextHasNoOuterSpaces)
{
    EXPECT_EQ(exponentText(analysed(16, 15)), "-1 -1 0 0 0");
    EXPECT_EQ(exponentText(analysed(7, 5)), "0 -1 1 0 0");
    EXPECT_EQ(exponentText(analysed(7, 6)), "-1 0 1 0 0");
}

TEST(LimitColours, RowsAndColours)
{
    struct Case {
        std::uint32_t limit;
        int row;
        Rgb fill, text;
    };
    const Case cases[] = {
        {1, 0, 0xFF0000, 0xFFFFFF},   // white on red
        {3, 1, 0xFFA500, 0x000000},   // black on orange
        {5, 2, 0xFFFF00, 0x000000},   // black on yellow
        {7, 3, 0x00FF00, 0x000000},   // black on green
        {11, 4, 0xEE82EE, 0xFFFFFF},  // white on violet
        {13, 5, 0xADD8E6, 0x000000},  // black on light blue
        {17, 6, 0xFF69B4, 0x000000},  // black on pink
        {19, 7, 0x008080, 0xFFFFFF},  // white on teal
        {23, 8, 0x8B4513, 0xFFFFFF},  // white on brown, as every larger prime
        {65537, 8, 0x8B4513, 0xFFFFFF}, {0, 5, 0xADD8E6, 0x000000},
        {2, 5, 0xADD8E6, 0x000000},     {21, 5, 0xADD8E6, 0x000000},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(limitColourIndex(c.limit), c.row) << c.limit;
        EXPECT_EQ(limitFillColours[c.row], c.fill) << c.limit;
        EXPECT_EQ(limitTextColours[c.row], c.text) << c.limit;
    }
}

}  // namespace
}  // namespace tv
