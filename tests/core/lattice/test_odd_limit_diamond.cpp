#include "core/lattice/Lattice.h"
#include "core/lattice/OddLimitDiamond.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tv {
namespace {

std::string ratios(const std::vector<ScalaPitch>& pitches)
{
    std::string text;
    for (const ScalaPitch& p : pitches) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(p.numerator) + '/' + std::to_string(p.denominator);
        if (p.kind != ScalaPitch::Kind::ratio)
            text += '?';
    }
    return text;
}

TEST(OddLimitDiamond, HoldsEveryOddRatioOnceFromTheSmallestUp)
{
    struct Case {
        std::uint32_t limit;
        std::size_t count;
        const char* ratios;
    };
    const Case cases[] = {
        {0, 0, ""},
        {1, 1, "1/1"},
        {2, 1, "1/1"},
        {3, 3, "1/1 4/3 3/2"},
        {5, 7, "1/1 6/5 5/4 4/3 3/2 8/5 5/3"},
        {6, 7, "1/1 6/5 5/4 4/3 3/2 8/5 5/3"},
        {7, 13, "1/1 8/7 7/6 6/5 5/4 4/3 7/5 10/7 3/2 8/5 5/3 12/7 7/4"},
        {9, 19, "1/1 10/9 9/8 8/7 7/6 6/5 5/4 9/7 4/3 7/5 10/7 3/2 14/9 8/5 5/3 12/7 7/4 16/9 9/5"},
        {11, 29,
         "1/1 12/11 11/10 10/9 9/8 8/7 7/6 6/5 11/9 5/4 14/11 9/7 4/3 11/8 7/5 10/7 16/11 3/2 "
         "14/9 11/7 8/5 18/11 5/3 12/7 7/4 16/9 9/5 20/11 11/6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        const auto pitches = oddLimitDiamond(c.limit);
        EXPECT_EQ(pitches.size(), c.count);
        EXPECT_EQ(ratios(pitches), c.ratios);
    }
}

TEST(OddLimitDiamond, LimitsAsScales)
{
    const Scale largest = oddLimitDiamondScale(maxDiamondLimit);
    EXPECT_EQ(largest.title, "45-odd-limit diamond");
    EXPECT_EQ(largest.pitches.size(), 423u);
    const Scale scale = oddLimitDiamondScale(15);
    EXPECT_EQ(scale.title, "15-odd-limit diamond");
    EXPECT_TRUE(scale.ok());
    EXPECT_EQ(scale.pitches.size(), 49u);
    EXPECT_EQ(ratios(scale.pitches).substr(0, 15), "1/1 16/15 15/14");
    EXPECT_EQ(ratios({scale.pitches.back()}), "15/8");
}

// Up to the largest limit every pitch has a lattice place of its own, those of primes above 13
// included.
TEST(OddLimitDiamond, EveryPitchOfEveryLimitHasItsOwnPlace)
{
    const auto places = [](std::uint32_t limit) {
        Lattice lattice;
        lattice.loadScale(oddLimitDiamondScale(limit));
        std::set<std::pair<int, int>> distinct;
        for (int i = 0; i < lattice.count(); ++i)
            distinct.insert({lattice.plotX(i), lattice.plotY(i)});
        return std::pair<std::size_t, std::size_t>(distinct.size(), lattice.count());
    };
    for (const std::uint32_t limit : {15u, 17u, 19u, 31u, 33u, maxDiamondLimit}) {
        const auto atLimit = places(limit);
        EXPECT_EQ(atLimit.first, atLimit.second) << limit;
    }
}

}  // namespace
}  // namespace tv
