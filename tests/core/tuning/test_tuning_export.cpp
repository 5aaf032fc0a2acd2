#include "support/ScratchDirectory.h"

#include "core/lattice/Lattice.h"
#include "core/tuning/FrequencyWord.h"
#include "core/tuning/KeyboardMapping.h"
#include "core/tuning/TuningExport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tv {
namespace {

std::string expectedFile(const std::string& name)
{
    return test::readBytes(std::string(TONALVANE_TEST_DATA_DIR) + "/tuning/" + name);
}

KeyTunings justTwelve()
{
    Lattice lattice;
    lattice.loadDefaultScale();
    return keyTunings(KeyScale(lattice), KeyboardMapping{});
}

TEST(TuningExport, TwelveNoteJustScaleAsWorkedByHand)
{
    const KeyTunings tunings = justTwelve();
    const std::string tun = expectedFile("just12.tun");
    const std::string syx = expectedFile("just12.syx");
    ASSERT_EQ(syx.size(), 408u);
    EXPECT_EQ(anaMarkTuningText(tunings, "Just 12"), tun);
    const TuningDump dump = tuningDump(tunings, "Just 12");
    EXPECT_EQ(dump.bytes, syx);
    EXPECT_TRUE(dump.keysOutOfRange.empty());

    test::ScratchDirectory dir;
    ASSERT_TRUE(writeTuningFile(dir.file("a.syx"), dump.bytes).ok);
    EXPECT_EQ(test::readBytes(dir.file("a.syx")), syx);
    EXPECT_EQ(writeTuningFile(dir.path().string(), dump.bytes).ok, false);
}

TEST(TuningExport, DumpNameAndKeysBeyondTheWords)
{
    const std::string dump = tuningDump(justTwelve(), "T\xe9st\n scale named at length", 5).bytes;
    EXPECT_EQ(dump.substr(5, 17), "\x05T?st? scale name");
    std::uint8_t checksum = 0;
    for (std::size_t i = 1; i < 406; ++i)
        checksum ^= static_cast<std::uint8_t>(dump[i]);
    EXPECT_EQ(static_cast<std::uint8_t>(dump[406]), checksum & 0x7F);
    EXPECT_EQ(dump.back(), '\xF7');

    // A scale of 1/1 alone climbs an octave a key: keys 55 to 65 stay within the words.
    const TuningDump octaves = tuningDump(keyTunings(KeyScale(), KeyboardMapping{}), "");
    ASSERT_EQ(octaves.keysOutOfRange.size(), 117u);
    EXPECT_EQ(octaves.keysOutOfRange[54], 54);
    EXPECT_EQ(octaves.keysOutOfRange[55], 66);
    EXPECT_EQ(octaves.bytes.substr(22, 3), std::string("\0\0\0", 3));
    EXPECT_EQ(octaves.bytes.substr(22 + 3 * 65, 3), std::string("\x78\0\0", 3));
    EXPECT_EQ(octaves.bytes.substr(22 + 3 * 66, 3), std::string("\x42\0\0", 3));
}

TEST(FrequencyWord, RoundsToTheNearestStepAndStaysInRange)
{
    using W = std::optional<FrequencyWord>;
    const std::pair<double, W> cases[] = {
        {60.0, FrequencyWord{60, 0, 0}},
        {69.5, FrequencyWord{69, 64, 0}},
        {60.0 + 1.0 / 16384, FrequencyWord{60, 0, 1}},
        {60.0 + 0.5 / 16384, FrequencyWord{60, 0, 1}},
        {60.0 + 0.49 / 16384, FrequencyWord{60, 0, 0}},
        {60.0 + 16383.49 / 16384, FrequencyWord{60, 127, 127}},
        {60.0 + 16383.5 / 16384, FrequencyWord{61, 0, 0}},
        {0.0, FrequencyWord{0, 0, 0}},
        {127.0 + 16382.0 / 16384, FrequencyWord{127, 127, 126}},
        {127.0 + 16383.0 / 16384, W{}},
        {127.0 + 16383.7 / 16384, W{}},
        {128.0, W{}},
        {-1e-9, W{}},
        {std::nan(""), W{}},
    };
    for (const auto& [key, word] : cases)
        EXPECT_EQ(frequencyWord(key), word) << key;
}

}  // namespace
}  // namespace tv
