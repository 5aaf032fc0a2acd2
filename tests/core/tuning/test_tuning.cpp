// The whole .tun and .syx of the twelve-note just scale are checked against hand-worked files
// through tonalvane-cli (tests/cli/test_cli_tuning.cpp).
#include "core/lattice/Lattice.h"
#include "core/midi/MtsMessages.h"
#include "core/tuning/KeyboardMapping.h"
#include "core/tuning/TuningExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tv {
namespace {

constexpr int x = KeyboardMapping::unmapped;

TEST(KeyboardMappingFile, ReadsWritesEveryEntryAndReadsBack)
{
    const auto read =
        parseKeyboardMapping("\xEF\xBB\xBF! white.kbm\r\n!\r\n4 ! size\r\n\r\n  21\r\n108\r\n"
                             "62\r\n62\r\n293.6647679174076\r\n3\r\n! map\r\n2\r\nx");
    ASSERT_TRUE(read.ok) << read.message;
    const std::string text = keyboardMappingText(read.mapping);
    EXPECT_EQ(text, "! Keyboard mapping\r\n!\r\n! Size of map (0: every key plays the next degree):"
                    "\r\n4\r\n! First MIDI key mapped:\r\n21\r\n! Last MIDI key mapped:\r\n108\r\n"
                    "! Middle key, which plays degree 0:\r\n62\r\n! Reference key:\r\n62\r\n"
                    "! Frequency of the reference key in Hz:\r\n293.6647679174076\r\n"
                    "! Scale degree of the formal octave:\r\n3\r\n"
                    "! Mapping, from the middle key up (x: unmapped):\r\n2\r\nx\r\nx\r\nx\r\n");
    KeyboardMapping again = parseKeyboardMapping(text).mapping;
    EXPECT_EQ(again.entries, (std::vector<int>{2, x, x, x}));
    again.entries.resize(2);
    EXPECT_EQ(again, read.mapping);
    EXPECT_NE(keyboardMappingText({}).find("\r\n261.6255653005986\r\n"), std::string::npos);
}

TEST(KeyboardMappingFile, MalformedFilesNameTheirLine)
{
    const std::string head = "12\n0\n127\n60\n69\n440\n";
    const std::tuple<std::string, std::uint32_t, std::string> cases[] = {
        {"", 1, "the file ends before the map size"},
        {"! c\n12\n0\n127\n60\n69\n", 7, "the file ends before the reference frequency"},
        {"-1\n", 1, "the map size must be a whole number from 0 to 65535, not '-1'"},
        {"65536\n", 1, "the map size must be a whole number from 0 to 65535, not '65536'"},
        {"12\n0\n128\n", 3, "the last key mapped must be a key from 0 to 127, not '128'"},
        {"12\n5\n4\n", 3, "the last key mapped, 4, is below the first, 5"},
        {"12\n0\n127\n60.0\n", 4, "the middle key must be a key from 0 to 127, not '60.0'"},
        {"1\n0\n1\n0\n0\n0\n", 6,
         "the reference frequency must be a number of Hz above 0, not '0'"},
        {"1\n0\n1\n0\n0\ninf", 6,
         "the reference frequency must be a number of Hz above 0, not 'inf'"},
        {head + "1.5\n", 7,
         "the formal octave's degree must be a scale degree from 0 to 65535, not '1.5'"},
        {head + "12\n0\ny\x1b[2J\n", 9,
         "a map entry must be a scale degree from 0 to 65535 or x, not 'y\\x1b[2J'"},
        {"2\n0\n127\n60\n69\n440\n2\n0\n1\n\n!\n2\n", 12,
         "the map lists more entries than its size, 2"},
        {"0\n0\n127\n60\n60\n261\n0\n0\n", 8, "the map lists more entries than its size, 0"},
    };
    for (const auto& [text, line, reason] : cases) {
        const auto read = parseKeyboardMapping(text);
        EXPECT_FALSE(read.ok) << text;
        EXPECT_EQ(read.line, line) << text;
        EXPECT_EQ(read.message,
                  "Invalid keyboard mapping, line " + std::to_string(line) + ": " + reason);
    }
}

// "key:degree" for each key, "x" for none.
std::string degrees(const std::string& file, const std::vector<int>& keys)
{
    std::string text = file, found;
    std::replace(text.begin(), text.end(), ' ', '\n');
    const KeyboardMapping m = parseKeyboardMapping(text).mapping;
    for (const int key : keys) {
        const auto degree = m.keyDegree(key);
        found.append(" ").append(std::to_string(key)).append(":");
        found.append(degree ? std::to_string(*degree) : "x");
    }
    return found;
}

TEST(KeyboardMappingKeys, DegreesFollowTheMapBothWays)
{
    // size, first, last, middle, reference key, frequency, formal octave, entries
    EXPECT_EQ(degrees("0 0 127 60 60 1 7", {60, 61, 59, 0, 127}), " 60:0 61:1 59:-1 0:-60 127:67");
    EXPECT_EQ(degrees("5 0 127 60 60 1 5 0 1", {60, 61, 62, 64, 65, 59, 56, 55}),
              " 60:0 61:1 62:x 64:x 65:5 59:x 56:-4 55:-5");
    EXPECT_EQ(degrees("3 0 127 60 60 1 3 0 x 2", {60, 61, 62, 63, 64, 58, 59}),
              " 60:0 61:x 62:2 63:3 64:x 58:x 59:-1");
    // The middle key far from 60, outside the range mapped.
    EXPECT_EQ(degrees("12 10 100 5 5 1 12 0 1 2", {5, 10, 17, 30, 89, 9, 101}),
              " 5:x 10:x 17:12 30:25 89:84 9:x 101:x");
    // A formal octave other than the map size.
    EXPECT_EQ(degrees("7 0 127 60 60 1 12 0 2 4 5 7 9 11", {60, 66, 67, 68, 59, 53, 52, 0}),
              " 60:0 66:11 67:12 68:14 59:-1 53:-12 52:-13 0:-103");
}

TEST(KeyboardMappingKeys, TuningFollowsTheReferenceKey)
{
    Lattice lattice;
    lattice.loadDefaultScale();
    const KeyScale scale(lattice);
    // White keys of the twelve-note scale, A = 5/3 tuned to 440 Hz.
    KeyboardMapping white{.size = 12,
                          .lastKey = 120,
                          .referenceKey = 69,
                          .referenceFrequency = 440.0,
                          .octaveDegree = 12,
                          .entries = {0, x, 2, x, 4, 5, x, 7, x, 9, x, 11}};
    const double c = 6900.0 - 1200.0 * std::log2(5.0 / 3.0), third = 1200 * std::log2(1.25);
    const std::pair<int, double> keys[] = {{69, 6900.0},    {60, c},      {72, c + 1200},
                                           {64, c + third}, {61, 6100.0}, {121, 12100.0}};
    for (const auto& [key, cents] : keys)
        EXPECT_NEAR(white.keyTuning(scale, key), cents, 1e-9) << key;
    // An unmapped reference key: the middle key sounds 1/1 at its own pitch.
    white.middleKey = 62;
    white.referenceKey = 63;
    EXPECT_NEAR(white.keyTuning(scale, 66), 6200.0 + third, 1e-9);
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
    const std::pair<std::uint32_t, std::uint32_t> ratios[] = {
        {1, 1}, {5, 4}, {4, 3}, {3, 2}, {0, 0}};
    ASSERT_EQ(scale.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(scale.degrees()[i].numerator, ratios[i].first) << i;
        EXPECT_EQ(scale.degrees()[i].denominator, ratios[i].second) << i;
    }
    EXPECT_DOUBLE_EQ(scale.pitch(4).cents, 1100.0);
    EXPECT_EQ(scale.pitch(5).octave, 1);
    EXPECT_DOUBLE_EQ(scale.pitch(-1).cents, -100.0);
    EXPECT_EQ(scale.pitch(-6).octave, -2);
}

TEST(TuningExport, DumpNameAndKeysBeyondTheWords)
{
    // A scale of 1/1 alone climbs an octave a key: keys 55 to 65 stay within the words.
    const TuningDump dump =
        tuningDump(keyTunings(KeyScale(), KeyboardMapping{}), "T\xe9st\n scale named at length", 5);
    EXPECT_EQ(dump.bytes.substr(0, 22), "\xF0\x7E\x7F\x08\x01\x05T?st? scale name");
    ASSERT_EQ(dump.keysOutOfRange.size(), 117u);
    EXPECT_EQ(dump.keysOutOfRange[54], 54);
    EXPECT_EQ(dump.keysOutOfRange[55], 66);
    EXPECT_EQ(dump.bytes.substr(22, 3), std::string("\0\0\0", 3));
    EXPECT_EQ(dump.bytes.substr(22 + 3 * 65, 3), std::string("\x78\0\0", 3));
    EXPECT_EQ(dump.bytes.substr(22 + 3 * 66, 3), std::string("\x42\0\0", 3));
}

TEST(MtsFrequencyWord, RoundsToTheNearestStepAndStaysInRange)
{
    using W = std::optional<MtsFrequency>;
    const std::pair<double, W> cases[] = {
        {60.0, MtsFrequency{60, 0, 0}},
        {69.5, MtsFrequency{69, 64, 0}},
        {60.0 + 1.0 / 16384, MtsFrequency{60, 0, 1}},
        {60.0 + 0.5 / 16384, MtsFrequency{60, 0, 1}},
        {60.0 + 0.49 / 16384, MtsFrequency{60, 0, 0}},
        {60.0 + 16383.49 / 16384, MtsFrequency{60, 127, 127}},
        {60.0 + 16383.5 / 16384, MtsFrequency{61, 0, 0}},
        {0.0, MtsFrequency{0, 0, 0}},
        {127.0 + 16382.0 / 16384, MtsFrequency{127, 127, 126}},
        {127.0 + 16383.0 / 16384, W{}},
        {127.0 + 16383.7 / 16384, W{}},
        {128.0, W{}},
        {-1e-9, W{}},
        {std::nan(""), W{}},
    };
    for (const auto& [key, word] : cases)
        EXPECT_EQ(mtsFrequency(key), word) << key;
}

}  // namespace
}  // namespace tv
