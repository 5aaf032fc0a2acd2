#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tv {

// The handful of sounds of the built-in synthesizer. Every General MIDI program plays one of
// them, chosen by the program's group of eight.
enum class Timbre : std::uint8_t {
    Piano,    // struck or plucked: bright onset that mellows and dies away while held
    Organ,    // steady drawbar mix
    Strings,  // bowed: soft onset, rich steady tone
    Reed,     // reed and brass: odd harmonics to the fore
    Sine,     // one pure partial, for listening to beats and for measuring
};

// Piano, chromatic percussion, guitar, bass, ethnic, percussive and sound effects: Piano;
// organ: Organ; solo strings, ensemble, synth pad and synth effects: Strings; brass, reed and
// synth lead: Reed; pipe (programs 72..79, flutes to ocarina): Sine.
Timbre timbreForProgram(int program);

// How a timbre's loudness moves with time.
struct TimbreEnvelope {
    double attackSeconds;   // linear rise from silence to full level
    double releaseSeconds;  // linear fall from the level at note-off to silence
    // Time for the level to fall by 1/e while the key is held at middle C, shorter for
    // higher notes; 0 for a tone that sustains.
    double decaySeconds;
    // Time for the bright partials to give way to the mellow one (Piano only).
    double mellowSeconds;
};

const TimbreEnvelope& timbreEnvelope(Timbre timbre);

// Band-limited single cycles of every set of partials, built by adding harmonics for one sample
// rate.
// A table serves the fundamentals of one octave and holds only the harmonics that stay below
// the Nyquist frequency for the highest fundamental of that octave, so nothing aliases.
class SynthWavetables {
public:
    // One set of partials per timbre, plus the mellow second set of Piano.
    enum PartialSet : int { PianoBright, PianoMellow, Organ, Strings, Reed, Sine, partialSetCount };

    static constexpr int tableSize = 2048;  // samples per cycle; a power of two
    static constexpr int maxHarmonics = 64;
    static constexpr int octaveLevels = 12;  // fundamentals from 8 Hz up to 32 kHz
    static constexpr double lowestFrequency = 8.0;

    explicit SynthWavetables(double sampleRate);

    // The table for `level` (see levelForFrequency); tableSize + 1 samples, the last a copy of
    // the first so interpolation never wraps. Scaled so that every set has the loudness
    // (RMS) of a sine of amplitude 1.
    const float* table(int partialSet, int level) const;

    // The octave level whose table is safe for a fundamental of `frequency` Hz.
    static int levelForFrequency(double frequency);

    // Number of harmonics in the tables of `level` (at least the fundamental).
    int harmonicsAtLevel(int level) const { return harmonics_[static_cast<std::size_t>(level)]; }

    double sampleRate() const { return sampleRate_; }

private:
    double sampleRate_;
    std::array<int, octaveLevels> harmonics_{};
    std::vector<float> samples_;  // partialSetCount x octaveLevels tables of tableSize + 1
};

}  // namespace tv
