#include "core/pitch/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tv {
namespace {

TEST(NumberText, FixedFormattingIgnoresADecimalCommaLocale)
{
    // Under a locale with a decimal comma, printf writes "0,5"; our numbers must not change.
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing (scripts/install-deps.sh installs locales-all)";
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.1f", 0.5);
    EXPECT_STREQ(printed, "0,5");

    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double infinity = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {701.955000865, 6, "701.955001"},
        {-0.5, 3, "-0.500"},
        {2.5, 0, "2"},
        {infinity, 3, "inf"},
        {-infinity, 3, "-inf"},
        {std::copysign(nan, 1.0), 6, "nan"},
        {std::copysign(nan, -1.0), 6, "-nan"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.value, c.decimals), c.text) << c.text;

    EXPECT_EQ(parseDouble("-701.955"), -701.955);
    EXPECT_EQ(parseDouble("+2.5"), 2.5);
    EXPECT_FALSE(parseDouble("701,955").has_value());
    EXPECT_FALSE(parseDouble("").has_value());
    std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace tv
