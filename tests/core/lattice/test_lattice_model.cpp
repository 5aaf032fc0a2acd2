#include "core/lattice/Lattice.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(LatticeModel, FreshLatticeAnswersEveryIndexWithNeutralValues)
{
    Lattice lattice;
    EXPECT_EQ(lattice.count(), 0);
    EXPECT_EQ(lattice.style(), 0);
    EXPECT_EQ(lattice.title(), "");
    EXPECT_TRUE(lattice.autoNormalise());
    for (const int i : {0, -1, 1}) {
        EXPECT_EQ(lattice.element(i), nullptr);
        EXPECT_EQ(lattice.name(i), "");
        EXPECT_EQ(lattice.numerator(i), 1u);
        EXPECT_EQ(lattice.denominator(i), 1u);
        EXPECT_EQ(lattice.cents(i), 0.0);
        EXPECT_EQ(lattice.octave(i), 0);
        EXPECT_EQ(lattice.plotX(i), 0);
        EXPECT_EQ(lattice.plotY(i), 0);
        EXPECT_EQ(lattice.limit(i), 0);
        EXPECT_EQ(lattice.oLimit(i), 0);
        EXPECT_EQ(lattice.uLimit(i), 0);
        EXPECT_EQ(lattice.numeratorTextColour(i), 0u);
        EXPECT_EQ(lattice.numeratorFillColour(i), 0u);
        EXPECT_EQ(lattice.denominatorTextColour(i), 0u);
        EXPECT_EQ(lattice.denominatorFillColour(i), 0u);
        EXPECT_FALSE(lattice.selected(i));
        EXPECT_EQ(lattice.exponentText(i), "");
    }
}

TEST(LatticeModel, SettersStoreInRangeAndIgnoreOutOfRange)
{
    Lattice lattice;
    lattice.addRatio("", 3, 2);
    for (const int i : {1, -1, 65535}) {
        EXPECT_EQ(lattice.setName(i, "x"), "");
        EXPECT_EQ(lattice.setNumerator(i, 7), 1u);
        EXPECT_EQ(lattice.setDenominator(i, 7), 1u);
        EXPECT_EQ(lattice.setCents(i, 5.0), 0.0);
        EXPECT_EQ(lattice.setOctave(i, 2), 0);
        lattice.setSelected(i, true);
    }
    EXPECT_EQ(lattice.count(), 1);
    EXPECT_FALSE(lattice.selected(0));

    EXPECT_EQ(lattice.setName(0, "P5"), "P5");
    EXPECT_EQ(lattice.setOctave(0, -1), -1);
    EXPECT_EQ(lattice.setCents(0, 12.5), 12.5);
    lattice.setSelected(0, true);
    EXPECT_EQ(lattice.name(0), "P5");
    EXPECT_EQ(lattice.octave(0), -1);
    EXPECT_EQ(lattice.cents(0), 12.5);
    EXPECT_TRUE(lattice.selected(0));
    // The ratio setters store only; the element is placed again by whoever edits it.
    const auto exponentsBefore = lattice.element(0)->exponents;
    EXPECT_EQ(lattice.setNumerator(0, 5), 5u);
    EXPECT_EQ(lattice.setDenominator(0, 4), 4u);
    EXPECT_EQ(lattice.element(0)->exponents, exponentsBefore);
}

TEST(LatticeModel, NewElementsKeepWholeTermsAndStartUnselectedInOctaveZero)
{
    Lattice lattice;
    ASSERT_TRUE(lattice.addRatio("a", 65539, 65536));
    ASSERT_TRUE(lattice.addRatio("", 4294967295u, 4294967294u));
    ASSERT_TRUE(lattice.addCents("b", -12.25));
    EXPECT_EQ(lattice.numerator(0), 65539u);
    EXPECT_EQ(lattice.denominator(0), 65536u);
    EXPECT_EQ(lattice.numerator(1), 4294967295u);
    EXPECT_EQ(lattice.denominator(1), 4294967294u);
    EXPECT_EQ(lattice.octave(0), 0);
    EXPECT_FALSE(lattice.selected(2));
    EXPECT_EQ(lattice.cents(2), -12.25);
    EXPECT_EQ(lattice.numerator(2), 0u);
    EXPECT_FALSE(lattice.element(2)->isRatio());
    EXPECT_EQ(lattice.exponentText(2), "0 0 0 0 0");
}

TEST(LatticeModel, LimitColoursFollowTheRowsOfTheLimits)
{
    Lattice lattice;
    lattice.addRatio("", 16, 15);
    lattice.addRatio("", 13, 8);
    // 16/15: numerator limit 1 (white on red), denominator limit 5 (black on yellow).
    EXPECT_EQ(lattice.numeratorTextColour(0), 0xFFFFFFu);
    EXPECT_EQ(lattice.numeratorFillColour(0), 0xFF0000u);
    EXPECT_EQ(lattice.denominatorTextColour(0), 0x000000u);
    EXPECT_EQ(lattice.denominatorFillColour(0), 0xFFFF00u);
    EXPECT_EQ(lattice.numeratorFillColour(1), 0xADD8E6u);
    EXPECT_EQ(lattice.denominatorFillColour(1), 0xFF0000u);
}

TEST(LatticeModel, DefaultScaleReplacesTheElementsAndKeepsTheTitle)
{
    Lattice lattice;
    lattice.setTitle("Keep me");
    lattice.addRatio("old", 11, 8);
    lattice.addCents("old", 50.0);
    EXPECT_EQ(lattice.loadDefaultScale(), 1);
    ASSERT_EQ(lattice.count(), 12);
    EXPECT_EQ(lattice.title(), "Keep me");
    const char* names[] = {"Unison", "m2", "M2", "m3", "M3", "P4",
                           "T",      "P5", "m6", "M6", "m7", "M7"};
    const std::uint32_t ratios[][2] = {{1, 1}, {16, 15}, {9, 8}, {6, 5}, {5, 4},  {4, 3},
                                       {7, 5}, {3, 2},   {8, 5}, {5, 3}, {16, 9}, {15, 8}};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(lattice.name(i), names[i]);
        EXPECT_EQ(lattice.numerator(i), ratios[i][0]) << i;
        EXPECT_EQ(lattice.denominator(i), ratios[i][1]) << i;
    }
}

TEST(LatticeModel, ClearKeepsEverythingButTheElements)
{
    Lattice lattice;
    lattice.setTitle("t");
    lattice.setAutoNormalise(false);
    lattice.setStyle(2);  // restores the flag it finds
    lattice.addRatio("", 3, 2);
    lattice.clear();
    EXPECT_EQ(lattice.count(), 0);
    EXPECT_EQ(lattice.title(), "t");
    EXPECT_EQ(lattice.style(), 2);
    EXPECT_FALSE(lattice.autoNormalise());
}

TEST(LatticeModel, HoldsAtMost65535ElementsAndRefusesMore)
{
    Lattice lattice;
    lattice.setStyle(1);  // no re-normalising on every add
    for (int i = 0; i < 65535; ++i)
        ASSERT_TRUE(lattice.addRatio("", 3, 2)) << i;
    const LatticeElement* first = lattice.element(0);
    EXPECT_EQ(lattice.count(), 65535);
    EXPECT_FALSE(lattice.addRatio("", 5, 4));
    EXPECT_FALSE(lattice.addCents("", 100.0));
    EXPECT_EQ(lattice.count(), 65535);
    EXPECT_EQ(lattice.numerator(65534), 3u);
    EXPECT_EQ(lattice.numerator(65535), 1u);
    // Adding never moved the elements already there.
    EXPECT_EQ(lattice.element(0), first);
}

}  // namespace
}  // namespace tv
