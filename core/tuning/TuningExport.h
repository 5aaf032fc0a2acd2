#pragma once

#include "core/tuning/TuningFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class KeyScale;
struct KeyboardMapping;

// Where each of the 128 MIDI keys sounds, in cents above the equal-tempered pitch of key 0
// (keyZeroFrequency): 6000.0 is middle C, 6900.0 is A 440 Hz.
using KeyTunings = std::array<double, 128>;

KeyTunings keyTunings(const KeyScale& scale, const KeyboardMapping& mapping);

// An AnaMark tuning file (.tun): a comment naming the scale, a [Tuning] section of 128
// "note N=" lines with whole cents, and an [Exact Tuning] section giving the base frequency
// and the cents with six decimals. CR LF line ends.
std::string anaMarkTuningText(const KeyTunings& tunings, std::string_view title);

// A MIDI Tuning Standard bulk tuning dump (.syx), 408 bytes: F0 7E 7F 08 01, the tuning
// program, a 16-character name, 128 frequency words, a checksum (the exclusive-or of the bytes
// from 7E through the last frequency byte, low 7 bits) and F7.
struct TuningDump {
    std::string bytes;
    // Keys whose pitch lies below key 0 or at or above the word 7F 7F 7F: the dump gives them
    // their equal-tempered pitch, as it does an unmapped key. A scale of few degrees mapped
    // to every key reaches that far.
    std::vector<int> keysOutOfRange;
};

// The name is `title` cut or padded with spaces to 16 characters; a byte outside printable
// ASCII becomes "?", as data bytes of the message must stay below 0x80.
TuningDump tuningDump(const KeyTunings& tunings, std::string_view title, std::uint8_t program = 0);

}  // namespace tv
