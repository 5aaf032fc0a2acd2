#include "core/tuning/FrequencyWord.h"

#include <cmath>

namespace tv {

std::optional<FrequencyWord> frequencyWord(double key)
{
    if (!(key >= 0.0) || key >= 128.0)
        return std::nullopt;
    double whole = std::floor(key);
    double steps = std::floor((key - whole) * 16384.0 + 0.5);
    if (steps >= 16384.0) {
        whole += 1.0;
        steps = 0.0;
    }
    const auto fraction = static_cast<std::uint32_t>(steps);
    const FrequencyWord word{static_cast<std::uint8_t>(whole),
                             static_cast<std::uint8_t>(fraction >> 7),
                             static_cast<std::uint8_t>(fraction & 0x7F)};
    if (whole > 127.0 || word == noChangeFrequencyWord)
        return std::nullopt;
    return word;
}

}  // namespace tv
