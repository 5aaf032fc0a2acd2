#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace tv {

// The frequency word of the MIDI Tuning Standard: the equal-tempered note at or below a pitch
// (69 is A4 = 440 Hz) and the rest as a 14-bit fraction of a semitone, high 7 bits first. One
// step is 100/16384 cent.
struct MtsFrequency {
    std::uint8_t note = 0;
    std::uint8_t fractionMsb = 0;
    std::uint8_t fractionLsb = 0;

    bool operator==(const MtsFrequency& other) const = default;
};

// The word for a pitch `semitones` above MIDI note 0, the fraction rounded to the nearest step
// (a fraction that rounds to a whole semitone moves to the next note with fraction 0).
// Nothing for a pitch below note 0 or at or above 7F 7F 7F, which means "no change" and so can
// name no pitch.
std::optional<MtsFrequency> mtsFrequency(double semitones);

// The word as semitones above MIDI note 0.
double mtsSemitones(const MtsFrequency& word);

// Single-note tuning change, real-time form, for one key of tuning program `program`:
// F0 7F 7F 08 02 tt 01 kk xx yy zz F7.
std::array<std::uint8_t, 12> singleNoteTuningChange(std::uint8_t key, const MtsFrequency& word,
                                                    std::uint8_t program = 0);
inline constexpr std::size_t singleNoteTuningChangeSize = 12;

// The registered-parameter messages that make `channel` play tuning bank 0, program 0, then
// deselect the parameter: Bn 65 00 Bn 64 04 Bn 06 00, Bn 65 00 Bn 64 03 Bn 06 00, Bn 65 7F
// Bn 64 7F.
std::array<std::uint32_t, 8> tuningProgramSelection(int channel);

// The MPE configuration message for a lower zone of `members` member channels (manager
// channel 1): B0 65 00 B0 64 06 B0 06 mm.
std::array<std::uint32_t, 3> mpeZoneConfiguration(int members);

// A single-note tuning change read back: the key and word, or nothing when `bytes` is no such
// message for one key.
struct RetunedKey {
    std::uint8_t key = 0;
    MtsFrequency word;
};
std::optional<RetunedKey> readSingleNoteTuningChange(const std::uint8_t* bytes, std::size_t size);

}  // namespace tv
