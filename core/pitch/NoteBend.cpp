#include "core/pitch/NoteBend.h"

#include "core/pitch/Ratio.h"

#include <algorithm>
#include <cmath>

namespace tv {
namespace {

// Whole semitones and the bend for a size in cents; the note offset is added by the caller.
NoteBend bendForCents(double cents, int bendRange)
{
    // Sizes no instrument can sound (beyond a million semitones, infinite or not a number)
    // give a note far outside 0..127 with no bend, which every sender leaves out, instead of
    // an undefined conversion.
    constexpr double farOutside = 1e6;
    if (!std::isfinite(cents) || std::fabs(cents * 0.01) > farOutside) {
        NoteBend result;
        result.note = cents < 0 ? -static_cast<int>(farOutside) : static_cast<int>(farOutside);
        return result;
    }
    const double semitones = cents * 0.01;
    const int whole = static_cast<int>(semitones);
    const double fraction = semitones - whole;
    NoteBend result;
    result.note = whole;
    // Truncating after adding 0.5 rounds half up above the base and toward no bend below it.
    // Only at range 1 can a fraction just under a semitone round to 8192 steps, one more
    // than 14 bits hold.
    const double stepsPerSemitone = 8192.0 / bendRange;
    result.bend = std::min(8192 + static_cast<int>(fraction * stepsPerSemitone + 0.5), 16383);
    splitBend(result.bend, result.bendMsb, result.bendLsb);
    return result;
}

}  // namespace

void splitBend(int bend, std::uint8_t& bendMsb, std::uint8_t& bendLsb)
{
    bendMsb = static_cast<std::uint8_t>((bend >> 7) & 127);
    bendLsb = static_cast<std::uint8_t>(bend & 127);
}

NoteBend noteForCents(int baseNote, int octave, double cents, int bendRange)
{
    NoteBend result = bendForCents(cents, std::clamp(bendRange, minBendRange, maxMpeBendRange));
    result.note += baseNote + 12 * octave;
    return result;
}

NoteBend noteForRatio(int baseNote, int octave, std::uint32_t numerator, std::uint32_t denominator,
                      int bendRange)
{
    return noteForCents(baseNote, octave, ratioCents(numerator, denominator), bendRange);
}

NoteBend scriptNoteForCents(double base, int octave, double cents)
{
    NoteBend result = bendForCents(cents, defaultBendRange);
    result.note += static_cast<int>(base + 12 * octave);
    return result;
}

NoteBend scriptNoteForRatio(double base, int octave, std::uint32_t numerator,
                            std::uint32_t denominator)
{
    return scriptNoteForCents(base, octave, ratioCents(numerator, denominator));
}

}  // namespace tv
