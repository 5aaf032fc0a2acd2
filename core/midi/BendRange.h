#pragma once

#include "core/pitch/NoteBend.h"

#include <array>
#include <cstdint>

namespace tv {

// The six controller messages that set a channel's pitch bend range to `semitones` (registered
// parameter 0: 101 0, 100 0, data entry 6 semitones, 38 0), then deselect the parameter (101
// 127, 100 127) so that a later data entry changes nothing by accident.
std::array<std::uint32_t, 6> bendRangeMessages(int channel, int semitones);

// A pitch bend message written for the default range of 2 semitones, rewritten to bend the same
// distance on a synthesizer whose range is `semitones`: script byte code holds its bends for
// the default range, whatever the range the program plays with. Any other message, and every
// message at range 2, comes back unchanged. Bends beyond what the range can reach are held at
// its ends.
std::uint32_t rescaleDefaultRangeBend(std::uint32_t packed, int semitones);

}  // namespace tv
