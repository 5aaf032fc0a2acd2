#pragma once

#include <cstdint>

namespace tv {

// An exact pitch above 1/1: the ratio numerator/denominator (denominator not 0) or, with
// denominator 0, a size in cents; raised or lowered by whole octaves.
struct ExactPitch {
    int octave = 0;
    std::uint32_t numerator = 1;
    std::uint32_t denominator = 1;
    double cents = 0.0;

    static ExactPitch ratio(std::uint32_t numerator, std::uint32_t denominator, int octave = 0)
    {
        return {octave, numerator, denominator, 0.0};
    }
    static ExactPitch centsAbove(double cents, int octave = 0) { return {octave, 0, 0, cents}; }
    bool isRatio() const { return denominator != 0; }
    // The size above 1/1 in cents, octaves included.
    double totalCents() const;
};

// Who started a sound: a lattice window's chord, a script player, the command line, a MIDI
// keyboard. Methods that hand out keys or channels keep one source's notes apart from another's.
using SoundSource = const void*;

// What should sound: the pitch, how hard, and who asked.
struct SoundRequest {
    ExactPitch pitch;
    std::uint8_t velocity = 90;
    SoundSource source = nullptr;
};

// Where a started note sounds, so that its end reaches the same channel and key.
struct SoundingNote {
    std::uint8_t channel = 0;
    std::uint8_t key = 0;
};

}  // namespace tv
