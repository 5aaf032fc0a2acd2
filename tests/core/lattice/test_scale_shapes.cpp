#include "core/lattice/Lattice.h"
#include "core/lattice/ScaleShapes.h"
#include "core/lattice/SharedPlaces.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tv {
namespace {

std::string ratios(const std::vector<ScalaPitch>& pitches)
{
    std::string text;
    for (const ScalaPitch& p : pitches) {
        if (!text.empty())
            text.push_back(' ');
        text.append(std::to_string(p.numerator)).push_back('/');
        text.append(std::to_string(p.denominator));
    }
    return text;
}

TEST(ScaleShapes, GeneraAndProductSetsAgainstHandCountedLists)
{
    struct Case {
        const char* text;
        bool genus;
        std::size_t count;
        const char* pitches;  // empty: only the count is checked
        const char* title;
    };
    const Case cases[] = {
        {"3 3 5 7", true, 12, "1/1 35/32 9/8 315/256 5/4 21/16 45/32 3/2 105/64 7/4 15/8 63/32",
         "Euler-Fokker genus 3 3 5 7"},
        // Even factors, 1 and repeated products count once.
        {"1  2 3", true, 2, "1/1 3/2", "Euler-Fokker genus 1 2 3"},
        {"2 of 1 3 5 7", false, 6, "35/32 5/4 21/16 3/2 7/4 15/8",
         "2 of 1 3 5 7 combination product set"},
        {"3 of 1 3 5 7 9 11", false, 20, "", "3 of 1 3 5 7 9 11 combination product set"},
        {"1 of 3 9", false, 2, "9/8 3/2", "1 of 3 9 combination product set"},
        {"2 of 3 3 9", false, 2, "9/8 27/16", "2 of 3 3 9 combination product set"},
        {"4 of 1 3 5 7", false, 1, "105/64", "4 of 1 3 5 7 combination product set"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ShapeScale shape = c.genus ? genusScale(c.text) : combinationProductScale(c.text);
        ASSERT_TRUE(shape.scale) << shape.message;
        EXPECT_EQ(shape.scale->pitches.size(), c.count);
        if (*c.pitches) {
            EXPECT_EQ(ratios(shape.scale->pitches), c.pitches);
        }
        EXPECT_EQ(shape.scale->title, c.title);
    }
}

TEST(ScaleShapes, TextsThatBuildNothingSayWhy)
{
    struct Case {
        const char* text;
        bool genus;
        const char* message;
    };
    const Case cases[] = {
        {"", true, "Give the factors, separated by spaces"},
        {"3 x 5", true, "'x' is not a factor from 1 to 65535"},
        {"0", true, "'0' is not a factor from 1 to 65535"},
        {"65536", true, "'65536' is not a factor from 1 to 65535"},
        {"3 5 7 9 11 13 15 17 19 21 23 25 27 29 31 33 35", true, "At most 16 factors"},
        // 3^16 x 5^16 ... is far beyond 32 bits.
        {"65535 65533 65531", true, "A product of these factors is too large for a ratio"},
        {"5 of 1 3 5 7", false, "The count must be from 1 to the number of factors"},
        {"0 of 1 3", false, "The count must be from 1 to the number of factors"},
        {"2 1 3 5", false, "Give a count, \"of\" and the factors: 2 of 1 3 5 7"},
        {"two of 1 3", false, "Give a count, \"of\" and the factors: 2 of 1 3 5 7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ShapeScale shape = c.genus ? genusScale(c.text) : combinationProductScale(c.text);
        EXPECT_FALSE(shape.scale);
        EXPECT_EQ(shape.message, c.message);
    }
}

// Scales of the public archive that hold primes above 13: no two pitches that are not octaves
// of each other share a place.
TEST(SharedPlaces, ArchiveScalesWithLargePrimesKeepTheirPitchesApart)
{
    const std::filesystem::path folder = TONALVANE_TEST_DATA_DIR "/scala/archive";
    int tested = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        Lattice lattice;
        if (!lattice.readScala(entry.path().string()).ok)
            continue;
        bool large = false;
        for (int i = 0; i < lattice.count(); ++i)
            large = large || !lattice.element(i)->higherPrimes.empty();
        if (!large)
            continue;
        ++tested;
        EXPECT_EQ(sharedPlaces(lattice), 0u) << entry.path();
    }
    EXPECT_GT(tested, 0);

    // What the count counts: 17/16 on 1/1's place before, octaves and cents never.
    Lattice lattice;
    for (const auto& [n, d] : {std::pair{1u, 1u}, {2u, 1u}, {3u, 2u}, {3u, 1u}})
        lattice.addRatio("", n, d);
    lattice.addCents("", 100.0);
    EXPECT_EQ(sharedPlaces(lattice), 0u);
    lattice.element(2)->plotX = lattice.element(0)->plotX;
    lattice.element(2)->plotY = lattice.element(0)->plotY;
    EXPECT_EQ(sharedPlaces(lattice), 2u);  // 3/2 with 1/1 and with 2/1
}

}  // namespace
}  // namespace tv
