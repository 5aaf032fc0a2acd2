#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tv {

// Numbers in files, scripts and command output are written and read without the user's
// locale: Qt sets the process locale from the environment, and a decimal comma must never
// change what a file means.

// Like printf("%.*f"): fixed notation with `decimals` digits after the point; "nan", "-nan",
// "inf" and "-inf" as glibc prints them.
std::string formatFixed(double value, int decimals);

// A whole word read as a decimal floating-point number ("701.955", "-5", "2.5e3"); nothing
// when the word holds anything else.
std::optional<double> parseDouble(std::string_view word);

}  // namespace tv
