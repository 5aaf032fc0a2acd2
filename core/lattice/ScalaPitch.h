#pragma once

#include <cstdint>

namespace tv {

// One pitch of a Scala file: a ratio of 32-bit terms, or a size in cents.
struct ScalaPitch {
    enum class Kind { invalid, ratio, cents };
    Kind kind = Kind::invalid;
    std::uint32_t numerator = 0;
    std::uint32_t denominator = 0;
    double cents = 0.0;
};

}  // namespace tv
