#include "midi/GeneralMidi.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tv {
namespace {

TEST(GeneralMidi, FamiliesTileTheProgramsInEightsAfterAll)
{
    EXPECT_STREQ(gmGroups[0].name, "ALL");
    EXPECT_EQ(gmGroups[0].first, 0);
    EXPECT_EQ(gmGroups[0].last, 127);
    // A shifted or mistyped row would leave a gap or an overlap here.
    for (std::size_t i = 1; i < gmGroups.size(); ++i) {
        EXPECT_EQ(gmGroups[i].first, static_cast<int>(i - 1) * 8) << gmGroups[i].name;
        EXPECT_EQ(gmGroups[i].last, gmGroups[i].first + 7) << gmGroups[i].name;
    }
}

TEST(GeneralMidi, ProgramNamesAreDistinctAndAnchoredAtFamilyBoundaries)
{
    std::set<std::string> names;
    for (const char* name : gmProgramNames) {
        ASSERT_NE(name, nullptr);
        EXPECT_FALSE(std::string(name).empty());
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 128u);

    // First and last of several families: a missing or doubled name moves these.
    EXPECT_EQ(programName(0), "Acoustic Grand");
    EXPECT_EQ(programName(7), "Clavinet");
    EXPECT_EQ(programName(33), "Electric Bass(finger)");
    EXPECT_EQ(programName(40), "Violin");
    EXPECT_EQ(programName(47), "Timpani");
    EXPECT_EQ(programName(56), "Trumpet");
    EXPECT_EQ(programName(58), "Tuba");
    EXPECT_EQ(programName(63), "SynthBrass 2");
    EXPECT_EQ(programName(77), "Skakuhachi");
    EXPECT_EQ(programName(87), "Lead 8 (bass+lead)");
    EXPECT_EQ(programName(104), "Sitar");
    EXPECT_EQ(programName(119), "Reverse Cymbal");
    EXPECT_EQ(programName(127), "Gunshot");
}

TEST(GeneralMidi, ProgramNameOutsideTheTableIsEmpty)
{
    EXPECT_EQ(programName(128), "");
    EXPECT_EQ(programName(1000), "");
    EXPECT_EQ(programName(-1), "");
}

TEST(GeneralMidi, FindGroupIgnoresCaseAndNeedsTheWholeName)
{
    EXPECT_EQ(findGroup("ALL"), std::make_pair(0, 127));
    EXPECT_EQ(findGroup("BRASS"), std::make_pair(56, 63));
    EXPECT_EQ(findGroup("brass"), std::make_pair(56, 63));
    EXPECT_EQ(findGroup("Sound Effects"), std::make_pair(120, 127));
    EXPECT_EQ(findGroup("synth pad"), std::make_pair(88, 95));
    EXPECT_EQ(findGroup("Chromatic Percussion"), std::make_pair(8, 15));

    EXPECT_EQ(findGroup(""), std::make_pair(-1, -1));
    EXPECT_EQ(findGroup("BRAS"), std::make_pair(-1, -1));
    EXPECT_EQ(findGroup("BRASS "), std::make_pair(-1, -1));
    EXPECT_EQ(findGroup("SYNTH"), std::make_pair(-1, -1));
    EXPECT_EQ(findGroup("Trumpet"), std::make_pair(-1, -1));
}

TEST(GeneralMidi, EveryGroupIsFoundByItsOwnName)
{
    for (const auto& group : gmGroups)
        EXPECT_EQ(findGroup(group.name), std::make_pair(group.first, group.last)) << group.name;
}

}  // namespace
}  // namespace tv
