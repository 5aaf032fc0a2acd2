#include "core/midi/GeneralMidi.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tv {
namespace {

TEST(GeneralMidi, GroupsTileTheProgramsInEightsAfterAll)
{
    EXPECT_EQ(findGroup("ALL"), std::make_pair(0, 127));
    EXPECT_STREQ(gmGroups[0].name, "ALL");
    // A shifted or mistyped row leaves a gap or an overlap, or is not found by its name.
    for (std::size_t i = 1; i < gmGroups.size(); ++i) {
        const int first = static_cast<int>(i - 1) * 8;
        EXPECT_EQ(findGroup(gmGroups[i].name), std::make_pair(first, first + 7))
            << gmGroups[i].name;
    }
}

TEST(GeneralMidi, FindGroupIgnoresCaseButNeedsTheWholeName)
{
    EXPECT_EQ(findGroup("brass"), std::make_pair(56, 63));
    EXPECT_EQ(findGroup("Sound Effects"), std::make_pair(120, 127));
    EXPECT_EQ(findGroup("Chromatic Percussion"), std::make_pair(8, 15));
    for (const char* other : {"", "BRAS", "BRASS ", "SYNTH", "Trumpet"})
        EXPECT_EQ(findGroup(other), std::make_pair(-1, -1)) << other;
}

TEST(GeneralMidi, ProgramNamesAreDistinctAndInProgramOrder)
{
    std::set<std::string> names(gmProgramNames.begin(), gmProgramNames.end());
    EXPECT_EQ(names.size(), 128u);
    EXPECT_EQ(names.count(""), 0u);
    // First and last names of several families: a missing or doubled name moves these.
    EXPECT_EQ(programName(0), "Acoustic Grand");
    EXPECT_EQ(programName(33), "Electric Bass(finger)");
    EXPECT_EQ(programName(40), "Violin");
    EXPECT_EQ(programName(58), "Tuba");
    EXPECT_EQ(programName(63), "SynthBrass 2");
    EXPECT_EQ(programName(77), "Skakuhachi");
    EXPECT_EQ(programName(87), "Lead 8 (bass+lead)");
    EXPECT_EQ(programName(119), "Reverse Cymbal");
    EXPECT_EQ(programName(127), "Gunshot");
    EXPECT_EQ(programName(128), "");
    EXPECT_EQ(programName(-1), "");
}

}  // namespace
}  // namespace tv
