#include "core/midi/BendRange.h"

#include "core/midi/MidiMessage.h"

#include <algorithm>
#include <cmath>

namespace tv {
namespace {

constexpr std::uint8_t bendRangeParameter = 0;

}  // namespace

std::array<std::uint32_t, 6> bendRangeMessages(int channel, int semitones)
{
    const auto range =
        static_cast<std::uint8_t>(std::clamp(semitones, minBendRange, maxMpeBendRange));
    return {
        controlChange(channel, parameterMsbController, bendRangeParameter),
        controlChange(channel, parameterLsbController, bendRangeParameter),
        controlChange(channel, dataEntryMsbController, range),
        controlChange(channel, dataEntryLsbController, 0),
        controlChange(channel, parameterMsbController, nullParameter),
        controlChange(channel, parameterLsbController, nullParameter),
    };
}

std::uint32_t rescaleDefaultRangeBend(std::uint32_t packed, int semitones)
{
    if ((messageStatus(packed) & 0xF0) != 0xE0 || semitones == defaultBendRange)
        return packed;
    const int range = std::clamp(semitones, minBendRange, maxMpeBendRange);
    const int bend = (messageData1(packed) & 127) | ((messageData2(packed) & 127) << 7);
    // The same rounding as a bend computed from cents: half a step up above the centre,
    // toward the centre below it.
    const double steps = (bend - 8192) * static_cast<double>(defaultBendRange) / range;
    const int scaled = std::clamp(8192 + static_cast<int>(steps + 0.5), 0, 16383);
    std::uint8_t msb = 0, lsb = 0;
    splitBend(scaled, msb, lsb);
    return pitchBend(messageStatus(packed) & 15, lsb, msb);
}

}  // namespace tv
