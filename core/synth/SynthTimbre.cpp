#include "core/synth/SynthTimbre.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tv {
namespace {

constexpr std::array<TimbreEnvelope, 5> envelopes{{
    {0.002, 0.080, 2.5, 0.35},  // Piano
    {0.006, 0.030, 0.0, 0.0},   // Organ
    {0.045, 0.150, 0.0, 0.0},   // Strings
    {0.020, 0.060, 0.0, 0.0},   // Reed
    {0.005, 0.015, 0.0, 0.0},   // Sine
}};

// Relative amplitude of harmonic h (1 = fundamental) in each set of partials.
double harmonicAmplitude(int partialSet, int h)
{
    const double k = h;
    switch (partialSet) {
    case SynthWavetables::PianoBright: {
        // A string struck near one end: a comb of partials falling off with their number.
        constexpr double strike = 0.13;
        return std::abs(std::sin(std::numbers::pi * k * strike)) /
               (std::sin(std::numbers::pi * strike) * std::pow(k, 1.5));
    }
    case SynthWavetables::PianoMellow: return 1.0 / (k * k * k);
    case SynthWavetables::Organ: {
        // Drawbars 8', 4', 2 2/3', 2', 1 3/5', 1 1/3', 1'.
        switch (h) {
        case 1: return 1.0;
        case 2: return 0.7;
        case 3: return 0.5;
        case 4: return 0.45;
        case 5: return 0.12;
        case 6: return 0.25;
        case 8: return 0.2;
        default: return 0.0;
        }
    }
    case SynthWavetables::Strings: return 1.0 / (k * (1.0 + (k / 10.0) * (k / 10.0)));
    case SynthWavetables::Reed: return (h % 2 ? 1.0 : 0.3) / (k * (1.0 + (k / 14.0) * (k / 14.0)));
    case SynthWavetables::Sine: return h == 1 ? 1.0 : 0.0;
    default: return 0.0;
    }
}

}  // namespace

Timbre timbreForProgram(int program)
{
    switch ((program & 127) / 8) {
    case 2: return Timbre::Organ;     // organ
    case 5:                           // solo strings
    case 6:                           // ensemble
    case 11:                          // synth pad
    case 12: return Timbre::Strings;  // synth effects
    case 7:                           // brass
    case 8:                           // reed
    case 10: return Timbre::Reed;     // synth lead
    case 9: return Timbre::Sine;      // pipe
    default:
        return Timbre::Piano;  // piano, chromatic percussion, guitar, bass, ethnic,
                               // percussive, sound effects
    }
}

const TimbreEnvelope& timbreEnvelope(Timbre timbre)
{
    return envelopes[static_cast<std::size_t>(timbre)];
}

SynthWavetables::SynthWavetables(double sampleRate)
    : sampleRate_(sampleRate),
      samples_(static_cast<std::size_t>(partialSetCount) * octaveLevels * (tableSize + 1), 0.0f)
{
    const double nyquist = sampleRate / 2;
    for (int level = 0; level < octaveLevels; ++level) {
        const double highestFundamental = lowestFrequency * std::exp2(level + 1);
        int count = 1;
        while (count < maxHarmonics && (count + 1) * highestFundamental < nyquist)
            ++count;
        harmonics_[static_cast<std::size_t>(level)] = count;
    }

    // Every harmonic of a table is a whole number of cycles, so sin(2 pi h i / N) is an entry
    // of one exact sine table.
    std::vector<double> sine(tableSize);
    for (int i = 0; i < tableSize; ++i)
        sine[static_cast<std::size_t>(i)] = std::sin(2 * std::numbers::pi * i / tableSize);

    std::vector<double> cycle(tableSize);
    for (int partialSet = 0; partialSet < partialSetCount; ++partialSet) {
        // One gain for all levels of a set, from its full list of harmonics: a table with fewer
        // harmonics is a little quieter, as the top harmonics it lacks would be.
        double power = 0;
        for (int h = 1; h <= maxHarmonics; ++h)
            power += harmonicAmplitude(partialSet, h) * harmonicAmplitude(partialSet, h);
        const double gain = 1.0 / std::sqrt(power);

        for (int level = 0; level < octaveLevels; ++level) {
            std::fill(cycle.begin(), cycle.end(), 0.0);
            for (int h = 1; h <= harmonicsAtLevel(level); ++h) {
                const double amplitude = harmonicAmplitude(partialSet, h) * gain;
                if (amplitude == 0)
                    continue;
                for (int i = 0; i < tableSize; ++i)
                    cycle[static_cast<std::size_t>(i)] +=
                        amplitude * sine[static_cast<std::size_t>((h * i) & (tableSize - 1))];
            }
            float* out =
                samples_.data() +
                (static_cast<std::size_t>(partialSet) * octaveLevels + level) * (tableSize + 1);
            for (int i = 0; i < tableSize; ++i)
                out[i] = static_cast<float>(cycle[static_cast<std::size_t>(i)]);
            out[tableSize] = out[0];
        }
    }
}

const float* SynthWavetables::table(int partialSet, int level) const
{
    return samples_.data() +
           (static_cast<std::size_t>(partialSet) * octaveLevels + level) * (tableSize + 1);
}

int SynthWavetables::levelForFrequency(double frequency)
{
    if (!(frequency >= 2 * lowestFrequency))
        return 0;
    int exponent = 0;
    std::frexp(frequency / lowestFrequency, &exponent);  // ratio = m * 2^exponent, m in [0.5, 1)
    return std::min(exponent - 1, octaveLevels - 1);
}

}  // namespace tv
