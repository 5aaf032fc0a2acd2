#pragma once

#include <cstdint>

namespace tv {

// The bend range a synthesizer assumes until it is told otherwise, and the ranges the program
// can tell it (whole semitones each way).
inline constexpr int defaultBendRange = 2;
inline constexpr int minBendRange = 1;
inline constexpr int maxBendRange = 24;
// Under MPE the member channels commonly bend up to 48 semitones.
inline constexpr int maxMpeBendRange = 48;

// An equal-tempered MIDI note plus the 14-bit pitch bend (8192 = none; 8192 / range steps a
// semitone, 4096 at the default range) that moves it to an exact pitch. The note is not
// limited to 0..127.
struct NoteBend {
    int note = 0;
    int bend = 8192;
    std::uint8_t bendMsb = 64;
    std::uint8_t bendLsb = 0;
};

// bendMsb = bits 7..13, bendLsb = bits 0..6.
void splitBend(int bend, std::uint8_t& bendMsb, std::uint8_t& bendLsb);

// The note at or below the pitch (at or above it for pitches below the base) and its upward
// (downward) bend for a synthesizer whose bend range is `bendRange` semitones (1..48). At
// range 1 a bend that would round up to a whole semitone stays one step short of it.
// `baseNote` sounds 1/1 at octave 0.
NoteBend noteForCents(int baseNote, int octave, double cents, int bendRange = defaultBendRange);
NoteBend noteForRatio(int baseNote, int octave, std::uint32_t numerator, std::uint32_t denominator,
                      int bendRange = defaultBendRange);

// Script variant: the base is real-valued and the note is trunc(base + 12 * octave) plus the
// whole semitones, so a fractional base has no effect on the pitch.
NoteBend scriptNoteForCents(double base, int octave, double cents);
NoteBend scriptNoteForRatio(double base, int octave, std::uint32_t numerator,
                            std::uint32_t denominator);

}  // namespace tv
