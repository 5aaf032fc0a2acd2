#include "core/lattice/ElementReadout.h"
#include "core/lattice/LatticeElement.h"
#include "core/lattice/LimitFilter.h"

#include <gtest/gtest.h>

namespace tv::test {
namespace {

LatticeElement ratio(std::uint32_t n, std::uint32_t d, std::string name = {}, int octave = 0)
{
    LatticeElement element;
    element.name = std::move(name);
    element.numerator = n;
    element.denominator = d;
    element.octave = static_cast<std::int16_t>(octave);
    return element;
}

LatticeElement cents(double size, int octave = 0)
{
    LatticeElement element;
    element.cents = size;
    element.octave = static_cast<std::int16_t>(octave);
    return element;
}

TEST(RatioLimits, OddAndPrimeLimitsOfRatiosInLowestTerms)
{
    struct Case {
        std::uint32_t n, d, odd, prime;
    };
    const Case cases[] = {
        {1, 1, 1, 1},
        {2, 1, 1, 1},
        {9, 8, 9, 3},
        {15, 8, 15, 5},
        {6, 4, 3, 3},     // 3/2
        {15, 5, 3, 3},    // 3/1: the 5 cancels
        {49, 48, 49, 7},  // 7 x 7 over 3 x 16
        {17, 16, 17, 17},
        {16, 15, 15, 5},  // the odd part and the prime below the line
        {32, 45, 45, 5},
        {4294967291u, 1, 4294967291u, 4294967291u},  // the largest 32-bit prime
        {4292870399u, 2, 4292870399u, 65521},        // 65519 x 65521
        {4293001441u, 1, 4293001441u, 65521},        // 65521 squared
        {0, 5, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << "/" << c.d);
        EXPECT_EQ(oddLimit(c.n, c.d), c.odd);
        EXPECT_EQ(primeLimit(c.n, c.d), c.prime);
    }
}

TEST(ElementReadout, NoteNamesCoverTheMidiRangeOnly)
{
    EXPECT_EQ(noteName(60), "C4");
    EXPECT_EQ(noteName(0), "C-1");
    EXPECT_EQ(noteName(11), "B-1");
    EXPECT_EQ(noteName(70), "A#4");
    EXPECT_EQ(noteName(127), "G9");
    EXPECT_EQ(noteName(-1), "");
    EXPECT_EQ(noteName(128), "");
}

TEST(ElementReadout, RatiosShowAllTheyAreAndCentsWhatApplies)
{
    struct Case {
        LatticeElement element;
        const char* text;
    };
    const Case cases[] = {
        {ratio(3, 2, "P5"), "P5\nRatio 3/2\nCents 701.955\nOdd limit 3, prime limit 3\n"
                            "Exponents 3:1 5:0 7:0 11:0 13:0\nMIDI note 67 (G4), bend 8272"},
        // The octave moves the note, not the ratio's cents; the name is Latin-1.
        {ratio(15, 8, "Septi\xE8me", 1),
         "Septi\xC3\xA8me\nRatio 15/8\nCents 1088.269\nOdd limit 15, prime limit 5\n"
         "Exponents 3:1 5:1 7:0 11:0 13:0\nMIDI note 82 (A#5), bend 11807"},
        {ratio(1001, 960), "Ratio 1001/960\nCents 72.403\nOdd limit 1001, prime limit 13\n"
                           "Exponents 3:-1 5:-1 7:1 11:1 13:1\nMIDI note 60 (C4), bend 11158"},
        // A larger prime follows the five.
        {ratio(17, 16), "Ratio 17/16\nCents 104.955\nOdd limit 17, prime limit 17\n"
                        "Exponents 3:0 5:0 7:0 11:0 13:0 17:1\nMIDI note 61 (C#4), bend 8395"},
        // Below the base: the note above the pitch and a downward bend.
        {cents(-701.9), "Cents -701.900 (no ratio)\nMIDI note 53 (F3), bend 8115"},
        {cents(7000.0, 2), "Cents 7000.000 (no ratio)\nMIDI note 154 (outside 0..127), bend 8192"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(elementReadout(c.element, 60), c.text);
    }
    EXPECT_EQ(elementReadout(cents(0.0), 48),
              "Cents 0.000 (no ratio)\nMIDI note 48 (C3), bend 8192");
}

TEST(LimitFilter, EachElementFollowsTheItemOfItsLargestPrime)
{
    struct Case {
        LatticeElement element;
        int item;
    };
    const Case cases[] = {
        {ratio(1, 1), -1},  {ratio(2, 1), -1},  {ratio(1, 1024), -1},     {cents(701.955), -1},
        {ratio(0, 1), -1},  {ratio(3, 2), 0},   {ratio(16, 9), 0},        {ratio(16, 15), 1},
        {ratio(5, 3), 1},   {ratio(7, 5), 2},   {ratio(15, 14), 2},       {ratio(11, 8), 3},
        {ratio(13, 8), 4},  {ratio(39, 32), 4}, {ratio(17, 16), 5},       {ratio(21, 19), 5},
        {ratio(45, 44), 3}, {ratio(51, 32), 5}, {ratio(65537, 65536), 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.element.numerator << "/" << c.element.denominator);
        EXPECT_EQ(limitItemOf(c.element), c.item);
        for (int hidden = 0; hidden < 6; ++hidden) {
            LimitFilter filter;
            filter.shown[static_cast<std::size_t>(hidden)] = false;
            EXPECT_EQ(filter.shows(c.element), c.item != hidden) << hidden;
        }
    }
}

}  // namespace
}  // namespace tv::test
