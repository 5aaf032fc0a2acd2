#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace tv {

// The three data bytes by which MIDI tuning messages name a frequency: the equal-tempered
// key at or below it (key 69 = 440 Hz), then the rest above that key as a 14-bit fraction of
// a semitone, high 7 bits first. The fraction is rounded to the nearest 1/16384 semitone; one
// that rounds up to a whole semitone moves to the next key with fraction 0.
using FrequencyWord = std::array<std::uint8_t, 3>;

// 7F 7F 7F means "no change" to a receiver, so it never stands for a pitch.
inline constexpr FrequencyWord noChangeFrequencyWord{0x7F, 0x7F, 0x7F};

// The word for a pitch given as a real key number (semitones above key 0, 60.0 = middle C);
// nothing for a pitch below key 0, at or above the word 7F 7F 7F, or not a number.
std::optional<FrequencyWord> frequencyWord(double key);

}  // namespace tv
