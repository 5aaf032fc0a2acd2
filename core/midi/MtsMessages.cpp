#include "core/midi/MtsMessages.h"

#include "core/midi/MidiMessage.h"

#include <cmath>

namespace tv {
namespace {

constexpr int fractionSteps = 16384;

// The registered parameters used here.
constexpr std::uint8_t tuningProgramParameter = 3;
constexpr std::uint8_t tuningBankParameter = 4;
constexpr std::uint8_t mpeConfigurationParameter = 6;

}  // namespace

std::optional<MtsFrequency> mtsFrequency(double semitones)
{
    if (!std::isfinite(semitones) || semitones < 0.0 || semitones >= 128.0)
        return std::nullopt;
    int note = static_cast<int>(std::floor(semitones));
    int steps = static_cast<int>(std::lround((semitones - note) * fractionSteps));
    if (steps >= fractionSteps) {
        ++note;
        steps = 0;
    }
    // 7F 7F 7F is "no change"; a note beyond 127 has no word at all.
    if (note > 127 || (note == 127 && steps == fractionSteps - 1))
        return std::nullopt;
    return MtsFrequency{static_cast<std::uint8_t>(note), static_cast<std::uint8_t>(steps >> 7),
                        static_cast<std::uint8_t>(steps & 127)};
}

double mtsSemitones(const MtsFrequency& word)
{
    return word.note + ((word.fractionMsb << 7) | word.fractionLsb) / double(fractionSteps);
}

std::array<std::uint8_t, 12> singleNoteTuningChange(std::uint8_t key, const MtsFrequency& word,
                                                    std::uint8_t program)
{
    return {0xF0,
            0x7F,
            0x7F,
            0x08,
            0x02,
            static_cast<std::uint8_t>(program & 0x7F),
            0x01,
            static_cast<std::uint8_t>(key & 0x7F),
            static_cast<std::uint8_t>(word.note & 0x7F),
            static_cast<std::uint8_t>(word.fractionMsb & 0x7F),
            static_cast<std::uint8_t>(word.fractionLsb & 0x7F),
            0xF7};
}

std::array<std::uint32_t, 8> tuningProgramSelection(int channel)
{
    return {
        controlChange(channel, parameterMsbController, 0),
        controlChange(channel, parameterLsbController, tuningBankParameter),
        controlChange(channel, dataEntryMsbController, 0),
        controlChange(channel, parameterMsbController, 0),
        controlChange(channel, parameterLsbController, tuningProgramParameter),
        controlChange(channel, dataEntryMsbController, 0),
        controlChange(channel, parameterMsbController, nullParameter),
        controlChange(channel, parameterLsbController, nullParameter),
    };
}

std::array<std::uint32_t, 3> mpeZoneConfiguration(int members)
{
    return {
        controlChange(0, parameterMsbController, 0),
        controlChange(0, parameterLsbController, mpeConfigurationParameter),
        controlChange(0, dataEntryMsbController, static_cast<std::uint8_t>(members)),
    };
}

std::optional<RetunedKey> readSingleNoteTuningChange(const std::uint8_t* bytes, std::size_t size)
{
    if (size != singleNoteTuningChangeSize || bytes[0] != 0xF0 || bytes[1] != 0x7F ||
        bytes[3] != 0x08 || bytes[4] != 0x02 || bytes[6] != 0x01 || bytes[11] != 0xF7)
        return std::nullopt;
    return RetunedKey{bytes[7], {bytes[8], bytes[9], bytes[10]}};
}

}  // namespace tv
