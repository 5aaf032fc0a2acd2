#include "core/lattice/ElementTable.h"
#include "core/lattice/Lattice.h"
#include "core/pitch/NumberText.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace tv {
namespace {

using Row = std::array<std::string, 11>;

TEST(ElementTable, ColumnTitles)
{
    const std::array<std::string, 11> expected{"Ratio", "Cents",    "Exponents", "Complexity",
                                               "Limit", "OLimit",   "ULimit",    "Note",
                                               "Bend",  "Bend MSB", "Bend LSB"};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(elementTableTitles[i], expected[i]);
}

TEST(ElementTable, ComplexityAtTheCornersAndTheDiagonal)
{
    EXPECT_EQ(formatFixed(elementComplexity(0, 0), 6), "0.000000");
    EXPECT_EQ(formatFixed(elementComplexity(1000, 0), 6), "1000.000000");
    EXPECT_EQ(formatFixed(elementComplexity(0, 174), 6), "174.000000");
    EXPECT_EQ(formatFixed(elementComplexity(500, 500), 6), "-nan");
    // Just outside the band where the value under the root turns negative.
    EXPECT_NE(formatFixed(elementComplexity(1000, 359), 6), "-nan");
    EXPECT_EQ(formatFixed(elementComplexity(1000, 360), 6), "-nan");
}

TEST(ElementTable, RowsOfRatioElements)
{
    Lattice lattice;
    lattice.loadDefaultScale();
    // 16/9 sits at (0, 174) in the lattice.
    EXPECT_EQ(elementTableRow(lattice, 10), (Row{"16:9", "996.090", "-2 0 0 0 0", "174.000000", "3",
                                                 "1", "3", "69", "12128", "94", "96"}));
    // 3/2: note 67 bent up by 80 steps; its own octave does not reach the table.
    lattice.setOctave(7, 2);
    const Row fifth = elementTableRow(lattice, 7);
    EXPECT_EQ(fifth[0], "3:2");
    EXPECT_EQ(fifth[1], "701.955");
    EXPECT_EQ(fifth[2], "1 0 0 0 0");
    EXPECT_EQ(fifth[7], "67");
    EXPECT_EQ(fifth[8], "8272");
    EXPECT_EQ(fifth[9], "64");
    EXPECT_EQ(fifth[10], "80");
    // 9/8 at (1000, 531) lies in the band without a real complexity.
    EXPECT_EQ(elementTableRow(lattice, 2)[3], "-nan");
}

TEST(ElementTable, RowsOfCentsElementsAndOutOfRange)
{
    Lattice lattice;
    lattice.addCents("", -30.99719);
    lattice.setOctave(0, 1);  // not shown, as for ratios
    EXPECT_EQ(elementTableRow(lattice, 0), (Row{"0:0", "-30.997", "0 0 0 0 0", "0.000000", "1", "1",
                                                "1", "60", "6923", "54", "11"}));
    EXPECT_EQ(elementTableRow(lattice, 1), Row{});
    EXPECT_EQ(elementTableRow(lattice, -1), Row{});
}

TEST(ElementTable, TenneyHeightOfLowestTerms)
{
    const std::vector<std::tuple<unsigned, unsigned, const char*>> cases{
        {1, 1, "0.000"}, {6, 4, "2.585"}, {4294967295u, 2147483648u, "63.000"}, {0, 1, "nan"}};
    for (const auto& [n, d, text] : cases)
        EXPECT_EQ(formatFixed(tenneyHeight(n, d), 3), text) << n << "/" << d;
}

TEST(ElementTable, LargeTermsAreShownUnsigned)
{
    Lattice lattice;
    lattice.addRatio("", 4294967295u, 2147483648u);
    EXPECT_EQ(elementTableRow(lattice, 0)[0], "4294967295:2147483648");
    EXPECT_EQ(elementTableRow(lattice, 0)[1], "1200.000");
}

}  // namespace
}  // namespace tv
