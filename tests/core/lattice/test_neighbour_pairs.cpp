#include "core/lattice/Lattice.h"
#include "core/lattice/NeighbourPairs.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tv {

void PrintTo(const NeighbourPair& p, std::ostream* out)
{
    *out << "{" << p.lower << ", " << p.upper << ", " << p.prime << "}";
}

namespace {

TEST(NeighbourPairs, TheDefaultScaleHasFifteenSingleSteps)
{
    Lattice lattice;
    lattice.loadDefaultScale();
    // 0 1/1, 1 16/15, 2 9/8, 3 6/5, 4 5/4, 5 4/3, 6 7/5, 7 3/2, 8 8/5, 9 5/3, 10 16/9, 11 15/8.
    // Primes by index: 0 is 3, 1 is 5, 2 is 7. 9/8 and 1/1 are two steps apart: no pair.
    const std::vector<NeighbourPair> expected{
        {0, 7, 0}, {0, 4, 1},  {1, 8, 0}, {1, 5, 1}, {3, 7, 1}, {4, 11, 0}, {5, 0, 0},  {5, 9, 1},
        {7, 2, 0}, {7, 11, 1}, {8, 3, 0}, {8, 0, 1}, {8, 6, 2}, {9, 4, 0},  {10, 5, 0},
    };
    EXPECT_EQ(neighbourPairs(lattice), expected);
    // On the circle every exponent is zero: nothing is a step apart.
    lattice.setStyle(Lattice::planetaryStyle);
    EXPECT_TRUE(neighbourPairs(lattice).empty());
}

TEST(NeighbourPairs, OctavesShareNeighboursAndCentsStandApart)
{
    Lattice lattice;
    lattice.addRatio("", 1, 1);      // 0
    lattice.addCents("", 701.955);   // 1: no exponents to compare
    lattice.addRatio("", 2, 1);      // 2: the same exponents as 1/1
    lattice.addRatio("", 13, 8);     // 3: one step of 13
    lattice.addRatio("", 3, 1);      // 4: one step of 3
    lattice.addRatio("", 11, 9);     // 5: two primes away from 1/1
    lattice.addRatio("", 16, 13);    // 6: one step of 13 below 1/1
    lattice.addRatio("", 429, 256);  // 7: 3 x 11 x 13, one step of 3 from 11*13
    lattice.addRatio("", 143, 128);  // 8
    // 13/8 and 143/128 are one step of 11 apart.
    const std::vector<NeighbourPair> expected{
        {0, 4, 0}, {0, 3, 4}, {2, 4, 0}, {2, 3, 4}, {3, 8, 3}, {6, 0, 4}, {6, 2, 4}, {8, 7, 0},
    };
    EXPECT_EQ(neighbourPairs(lattice), expected);

    // One pair per two places: 2/1 stands where 1/1 does, and counts only while 1/1 is left
    // out.
    const auto all = [](const LatticeElement&) { return true; };
    EXPECT_EQ(distinctNeighbourPairs(lattice, all),
              (std::vector<NeighbourPair>{{0, 4, 0}, {0, 3, 4}, {3, 8, 3}, {6, 0, 4}, {8, 7, 0}}));
    const auto notUnison = [](const LatticeElement& e) { return e.numerator != 1; };
    EXPECT_EQ(distinctNeighbourPairs(lattice, notUnison),
              (std::vector<NeighbourPair>{{2, 4, 0}, {2, 3, 4}, {3, 8, 3}, {6, 2, 4}, {8, 7, 0}}));
}

}  // namespace
}  // namespace tv
