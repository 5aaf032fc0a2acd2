// The whole .tun and .syx of the twelve-note just scale are checked against hand-worked files
// through tonalvane-cli (tests/cli/test_cli_tuning.cpp).
#include "core/tuning/FrequencyWord.h"
#include "core/tuning/KeyboardMapping.h"
#include "core/tuning/TuningExport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tv {
namespace {

TEST(TuningExport, DumpNameChecksumAndKeysBeyondTheWords)
{
    // A scale of 1/1 alone climbs an octave a key: keys 55 to 65 stay within the words.
    const TuningDump dump =
        tuningDump(keyTunings(KeyScale(), KeyboardMapping{}), "T\xe9st\n scale named at length", 5);
    EXPECT_EQ(dump.bytes.substr(0, 22), "\xF0\x7E\x7F\x08\x01\x05T?st? scale name");
    std::uint8_t checksum = 0;
    for (std::size_t i = 1; i < 406; ++i)
        checksum ^= static_cast<std::uint8_t>(dump.bytes[i]);
    EXPECT_EQ(static_cast<std::uint8_t>(dump.bytes[406]), checksum & 0x7F);
    EXPECT_EQ(dump.bytes.substr(407), "\xF7");
    ASSERT_EQ(dump.keysOutOfRange.size(), 117u);
    EXPECT_EQ(dump.keysOutOfRange[54], 54);
    EXPECT_EQ(dump.keysOutOfRange[55], 66);
    EXPECT_EQ(dump.bytes.substr(22, 3), std::string("\0\0\0", 3));
    EXPECT_EQ(dump.bytes.substr(22 + 3 * 65, 3), std::string("\x78\0\0", 3));
    EXPECT_EQ(dump.bytes.substr(22 + 3 * 66, 3), std::string("\x42\0\0", 3));
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
