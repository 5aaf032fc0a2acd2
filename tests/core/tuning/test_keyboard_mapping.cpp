#include "support/ScratchDirectory.h"

#include "core/lattice/Lattice.h"
#include "core/tuning/KeyboardMapping.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tv {
namespace {

constexpr int x = KeyboardMapping::unmapped;

KeyboardMapping mapping(int size, int first, int last, int middle, int octave,
                        std::vector<int> entries)
{
    KeyboardMapping m;
    m.size = size;
    m.firstKey = first;
    m.lastKey = last;
    m.middleKey = middle;
    m.octaveDegree = octave;
    m.entries = std::move(entries);
    return m;
}

TEST(KeyboardMappingFile, ReadsCommentsShortMapsAndTrailingWords)
{
    const auto read =
        parseKeyboardMapping("\xEF\xBB\xBF! white.kbm\r\n!\r\n7 ! size\r\n\r\n  0\r\n127\r\n"
                             "60\r\n69\r\n440.5\r\n12\r\n! map\r\n0\r\nx\r\n2");
    ASSERT_TRUE(read.ok) << read.message;
    KeyboardMapping expected = mapping(7, 0, 127, 60, 12, {0, x, 2});
    expected.referenceKey = 69;
    expected.referenceFrequency = 440.5;
    EXPECT_EQ(read.mapping, expected);
}

TEST(KeyboardMappingFile, WritesEveryEntryAndReadsBack)
{
    KeyboardMapping m = mapping(4, 21, 108, 62, 3, {2, x});
    m.referenceKey = 62;
    m.referenceFrequency = 293.6647679174076;
    const std::string text = keyboardMappingText(m);
    EXPECT_EQ(text, "! Keyboard mapping\r\n!\r\n! Size of map (0: every key plays the next degree):"
                    "\r\n4\r\n! First MIDI key mapped:\r\n21\r\n! Last MIDI key mapped:\r\n108\r\n"
                    "! Middle key, which plays degree 0:\r\n62\r\n! Reference key:\r\n62\r\n"
                    "! Frequency of the reference key in Hz:\r\n293.6647679174076\r\n"
                    "! Scale degree of the formal octave:\r\n3\r\n"
                    "! Mapping, from the middle key up (x: unmapped):\r\n2\r\nx\r\nx\r\nx\r\n");
    const auto again = parseKeyboardMapping(text);
    ASSERT_TRUE(again.ok) << again.message;
    m.entries = {2, x, x, x};
    EXPECT_EQ(again.mapping, m);
    EXPECT_NE(keyboardMappingText(KeyboardMapping{}).find("\r\n261.6255653005986\r\n"),
              std::string::npos);

    test::ScratchDirectory dir;
    ASSERT_TRUE(writeKeyboardMappingFile(m, dir.file("m.kbm")).ok);
    EXPECT_EQ(test::readBytes(dir.file("m.kbm")), keyboardMappingText(m));
    EXPECT_EQ(readKeyboardMappingFile(dir.file("m.kbm")).mapping, m);
    EXPECT_EQ(readKeyboardMappingFile(dir.file("none.kbm")).message,
              "Unable to open " + dir.file("none.kbm"));
}

TEST(KeyboardMappingFile, MalformedFilesNameTheirLine)
{
    const std::string head = "12\n0\n127\n60\n69\n440\n12\n";
    const struct {
        std::string text;
        std::uint32_t line;
        std::string reason;
    } cases[] = {
        {"", 1, "the file ends before the map size"},
        {"! c\n12\n0\n127\n60\n69\n", 7, "the file ends before the reference frequency"},
        {"-1\n", 1, "the map size must be a whole number from 0 to 65535, not '-1'"},
        {"65536\n", 1, "the map size must be a whole number from 0 to 65535, not '65536'"},
        {"12\n0\n128\n", 3, "the last key mapped must be a key from 0 to 127, not '128'"},
        {"12\n5\n4\n", 3, "the last key mapped, 4, is below the first, 5"},
        {"12\n0\n127\n60.0\n", 4, "the middle key must be a key from 0 to 127, not '60.0'"},
        {"12\n0\n127\n60\n69\n0\n", 6,
         "the reference frequency must be a number of Hz above 0, not '0'"},
        {"12\n0\n127\n60\n69\ninf\n", 6,
         "the reference frequency must be a number of Hz above 0, not 'inf'"},
        {"12\n0\n127\n60\n69\n440\n1.5\n", 7,
         "the formal octave's degree must be a scale degree from 0 to 65535, not '1.5'"},
        {head + "0\ny\x1b[2J\n", 9,
         "a map entry must be a scale degree from 0 to 65535 or x, not 'y\\x1b[2J'"},
        {"2\n0\n127\n60\n69\n440\n2\n0\n1\n\n!\n2\n", 12,
         "the map lists more entries than its size, 2"},
        {"0\n0\n127\n60\n60\n261\n0\n0\n", 8, "the map lists more entries than its size, 0"},
    };
    for (const auto& c : cases) {
        const auto read = parseKeyboardMapping(c.text);
        EXPECT_FALSE(read.ok) << c.text;
        EXPECT_EQ(read.line, c.line) << c.text;
        EXPECT_EQ(read.message,
                  "Invalid keyboard mapping, line " + std::to_string(c.line) + ": " + c.reason);
    }
}

TEST(KeyboardMappingKeys, DegreesFollowTheMapBothWays)
{
    const struct {
        const char* what;
        KeyboardMapping m;
        std::vector<std::pair<int, std::optional<int>>> keys;
    } cases[] = {
        {"map size 0: every key in order",
         mapping(0, 0, 127, 60, 7, {}),
         {{60, 0}, {61, 1}, {59, -1}, {0, -60}, {127, 67}}},
        {"short map: the rest unmapped",
         mapping(5, 0, 127, 60, 5, {0, 1}),
         {{60, 0}, {61, 1}, {62, {}}, {64, {}}, {65, 5}, {59, {}}, {56, -4}, {55, -5}}},
        {"x entries",
         mapping(3, 0, 127, 60, 3, {0, x, 2}),
         {{60, 0}, {61, {}}, {62, 2}, {63, 3}, {64, {}}, {58, {}}, {59, -1}}},
        {"middle key far from 60, range cut",
         mapping(12, 10, 100, 5, 12, {0, 1, 2}),
         {{5, {}}, {10, {}}, {17, 12}, {30, 25}, {89, 84}, {9, {}}, {101, {}}}},
        {"formal octave other than the map size",
         mapping(7, 0, 127, 60, 12, {0, 2, 4, 5, 7, 9, 11}),
         {{60, 0}, {66, 11}, {67, 12}, {68, 14}, {59, -1}, {53, -12}, {52, -13}, {0, -103}}},
    };
    for (const auto& c : cases) {
        for (const auto& [key, degree] : c.keys)
            EXPECT_EQ(c.m.keyDegree(key), degree) << c.what << ", key " << key;
    }
}

TEST(KeyboardMappingKeys, TuningFollowsTheReferenceKey)
{
    Lattice lattice;
    lattice.loadDefaultScale();
    const KeyScale scale(lattice);
    // White keys of the twelve-note scale, A = 5/3 tuned to 440 Hz.
    KeyboardMapping white = mapping(12, 0, 120, 60, 12, {0, x, 2, x, 4, 5, x, 7, x, 9, x, 11});
    white.referenceKey = 69;
    white.referenceFrequency = 440.0;
    const double a = 6900.0;
    const double c = a - 1200.0 * std::log2(5.0 / 3.0);
    const std::pair<int, double> keys[] = {{69, a},        {60, c},
                                           {72, c + 1200}, {64, c + 1200 * std::log2(1.25)},
                                           {61, 6100.0},   {121, 12100.0}};
    for (const auto& [key, cents] : keys)
        EXPECT_NEAR(white.keyTuning(scale, key), cents, 1e-9) << key;
    // An unmapped reference key: the middle key sounds 1/1 at its own pitch.
    white.middleKey = 62;
    white.referenceKey = 63;
    EXPECT_NEAR(white.keyTuning(scale, 66), 6200.0 + 1200 * std::log2(1.25), 1e-9);
    EXPECT_EQ(KeyboardMapping{}.keyTuning(scale, 60), 6000.0);
}

TEST(KeyScale, TheLatticesPitchesInOrderWithinTheOctave)
{
    Lattice lattice;
    lattice.addRatio("", 3, 2);
    lattice.addCents("", 386.3137138);  // 5/4 to a hundred-millionth of a cent
    lattice.addRatio("", 5, 1);
    lattice.addCents("", -100.0);
    lattice.addRatio("", 1, 3);
    lattice.addRatio("", 4, 2);
    lattice.addRatio("", 0, 1);
    lattice.addCents("", 2399.9999999999);
    const KeyScale scale(lattice);
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> ratios{
        {1, 1}, {5, 4}, {4, 3}, {3, 2}, {0, 0}};
    ASSERT_EQ(scale.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(scale.degrees()[i].numerator, ratios[i].first) << i;
        EXPECT_EQ(scale.degrees()[i].denominator, ratios[i].second) << i;
    }
    EXPECT_DOUBLE_EQ(scale.pitch(4).cents, 1100.0);
    EXPECT_EQ(scale.pitch(5).octave, 1);
    EXPECT_DOUBLE_EQ(scale.pitch(-1).cents, -100.0);
    EXPECT_EQ(scale.pitch(-5).octave, -1);
    EXPECT_EQ(scale.pitch(-6).degree.denominator, 0u);
    EXPECT_EQ(scale.pitch(-6).octave, -2);
}

}  // namespace
}  // namespace tv
