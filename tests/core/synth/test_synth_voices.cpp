// Voices of the built-in synthesizer: clean starts and stops, stealing, timbres, band limits.

#include "FrequencyAnalysis.h"
#include "SynthRender.h"
#include "support/Sanitizers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace tv {
namespace {

using test::framesFor;
using test::largestStep;
using test::renderMono;

constexpr double voiceRate = 48000;

// One program from each timbre's groups: piano, organ, strings, reed, pipe (sine).
constexpr int timbrePrograms[] = {0, 16, 40, 65, test::sineProgram};

double rms(const std::vector<double>& samples, std::size_t first, std::size_t last)
{
    double sum = 0;
    for (std::size_t i = first; i < last; ++i)
        sum += samples[i] * samples[i];
    return std::sqrt(sum / static_cast<double>(last - first));
}

TEST(SynthClicks, StartAndReleaseNeverStepFurtherThanTheSteadyTone)
{
    // A cut-off note drops by up to its whole amplitude from one sample to the next; a ramp
    // keeps every step within what the waveform does on its own while it sounds.
    for (const int program : timbrePrograms) {
        SCOPED_TRACE("program " + std::to_string(program));
        SynthEngine engine(voiceRate);
        engine.handleMessage(programChange(0, program));
        engine.handleMessage(noteOn(0, 48, 127));
        std::vector<double> samples;
        renderMono(engine, samples, framesFor(engine, 0.3) + 37);  // off mid-cycle
        const std::size_t offAt = samples.size();
        engine.handleMessage(noteOff(0, 48));
        renderMono(engine, samples, framesFor(engine, 0.5));

        // The piano is brightest just after its onset, so the steady part starts early.
        const std::size_t onsetEnd = framesFor(engine, 0.005);
        const double steady = largestStep(samples, onsetEnd, offAt);
        ASSERT_GT(steady, 1e-3);
        EXPECT_LT(std::abs(samples[0]), 0.01 * steady);
        EXPECT_LE(largestStep(samples, 0, onsetEnd + 1), 1.1 * steady);
        EXPECT_LE(largestStep(samples, offAt - 1, samples.size()), 1.1 * steady);
        EXPECT_LT(std::abs(samples.back()), 1e-6);
        EXPECT_EQ(engine.activeVoices(), 0);
    }
}

TEST(SynthClicks, ARepeatedKeyAndABendDoNotClick)
{
    SynthEngine engine(voiceRate);
    engine.handleMessage(programChange(0, test::sineProgram));
    engine.handleMessage(noteOn(0, 48, 127));
    std::vector<double> samples;
    renderMono(engine, samples, framesFor(engine, 0.2) + 91);
    const double steady = largestStep(samples, framesFor(engine, 0.05), samples.size());
    engine.handleMessage(noteOn(0, 48, 127));  // again, without a note-off
    renderMono(engine, samples, framesFor(engine, 0.2) + 13);
    engine.handleMessage(pitchBend(0, 0, 96));  // one semitone up
    renderMono(engine, samples, framesFor(engine, 0.2));
    // A semitone up the waveform moves 6% faster.
    EXPECT_LE(largestStep(samples, framesFor(engine, 0.05), samples.size()), 1.1 * steady);
    EXPECT_EQ(engine.activeVoices(), 1);
}

TEST(SynthVoices, ReleasedAndDecayedNotesFreeTheirVoices)
{
    SynthEngine engine(voiceRate);
    std::vector<double> samples;
    for (int c = 0; c < 5; ++c) {
        engine.handleMessage(programChange(c, timbrePrograms[c]));
        engine.handleMessage(noteOn(c, 60, 90));
        engine.handleMessage(noteOn(c, 64, 90));
    }
    EXPECT_EQ(engine.activeVoices(), 10);
    EXPECT_TRUE(engine.noteHeld(3, 64));
    renderMono(engine, samples, framesFor(engine, 0.1));
    for (int c = 0; c < 5; ++c) {
        engine.handleMessage(noteOff(c, 60));
        engine.handleMessage(noteOn(c, 64, 0));  // velocity 0 is a note-off
    }
    EXPECT_FALSE(engine.noteHeld(3, 64));
    renderMono(engine, samples, framesFor(engine, 1.0));
    EXPECT_EQ(engine.activeVoices(), 0);

    // A piano-like note dies away by itself while the key is still down.
    engine.handleMessage(programChange(0, 0));
    engine.handleMessage(noteOn(0, 84, 127));
    renderMono(engine, samples, framesFor(engine, 20.0));
    EXPECT_EQ(engine.activeVoices(), 0);
    EXPECT_FALSE(engine.noteHeld(0, 84));
}

TEST(SynthVoices, ANoteOffFadesOverItsFamilysReleaseTimeFromWhateverLevelItFinds)
{
    // The General MIDI families in program order, eight programs each, and how long each
    // one's notes take to fade: struck and plucked 80 ms, organ 30 ms, bowed and sung 150 ms,
    // blown 60 ms, pipe 15 ms. The piano has decayed by the note-off; the others are at full
    // level. One program of each family, a different place in each.
    const double releaseMs[16] = {80, 80, 30, 80,  80,  150, 150, 60,
                                  60, 15, 60, 150, 150, 80,  80,  80};
    for (int family = 0; family < 16; ++family) {
        const int program = 8 * family + family % 8;
        SynthEngine engine(voiceRate);
        engine.handleMessage(programChange(0, program));
        engine.handleMessage(noteOn(0, 60, 100));
        std::vector<double> samples;
        renderMono(engine, samples, framesFor(engine, 1.0));
        engine.handleMessage(noteOff(0, 60));
        int frames = 0;
        for (; engine.activeVoices() > 0 && frames < voiceRate; ++frames)
            renderMono(engine, samples, 1);
        EXPECT_NEAR(frames, releaseMs[family] / 1000 * voiceRate, 2) << program;
    }
}

TEST(SynthVoices, TheSixtyFifthNoteStealsTheOldest)
{
    SynthEngine engine(voiceRate);
    engine.handleMessage(programChange(0, test::sineProgram));
    engine.handleMessage(noteOn(0, 48, 127));  // the oldest, and the only loud one
    std::vector<double> samples;
    renderMono(engine, samples, 100);
    for (int i = 1; i < SynthEngine::maxVoices; ++i)
        engine.handleMessage(noteOn(1 + i % 15, 60 + i / 15 * 12 + i % 15 % 12, 1));
    EXPECT_EQ(engine.activeVoices(), SynthEngine::maxVoices);

    // Steal while the loud note is near a crest, where a cut would jump furthest.
    while (samples.size() < framesFor(engine, 0.2) || samples.back() < 0.1)
        renderMono(engine, samples, 1);
    const double steady = largestStep(samples, framesFor(engine, 0.05), samples.size());
    const std::size_t stolenAt = samples.size();
    engine.handleMessage(noteOn(0, 50, 1));

    EXPECT_EQ(engine.activeVoices(), SynthEngine::maxVoices);
    EXPECT_FALSE(engine.noteHeld(0, 48));
    EXPECT_TRUE(engine.noteHeld(0, 50));
    EXPECT_TRUE(engine.noteHeld(2, 61));  // the second oldest stays
    renderMono(engine, samples, framesFor(engine, 0.05));
    EXPECT_LE(largestStep(samples, stolenAt - 1, samples.size()), 1.1 * steady);
    // The loud note is gone; the other 64 are all but silent.
    EXPECT_LT(rms(samples, samples.size() - 1000, samples.size()), 0.002);

    // Stealing goes on by age: next to go is the second oldest.
    engine.handleMessage(noteOn(0, 52, 1));
    EXPECT_FALSE(engine.noteHeld(2, 61));
    EXPECT_TRUE(engine.noteHeld(3, 62));
    EXPECT_EQ(engine.activeVoices(), SynthEngine::maxVoices);
}

TEST(SynthVoices, AStolenVoiceFadesFastEvenWhenItWasReleasingSlowly)
{
    SynthEngine engine(voiceRate);
    engine.handleMessage(programChange(0, 40));  // strings: a long release
    engine.handleMessage(noteOn(0, 48, 127));
    for (int i = 1; i < SynthEngine::maxVoices; ++i)
        engine.handleMessage(noteOn(1 + i % 15, 60 + i / 15 * 12 + i % 15 % 12, 1));
    std::vector<double> samples;
    renderMono(engine, samples, framesFor(engine, 0.2));
    engine.handleMessage(noteOff(0, 48));
    engine.handleMessage(noteOn(0, 50, 1));  // steals the releasing note, the oldest
    renderMono(engine, samples, framesFor(engine, 0.01));
    EXPECT_LT(rms(samples, samples.size() - 100, samples.size()), 0.002);
}

TEST(SynthVoices, ChannelZeroSitsInTheMiddleAndTheOthersStandApart)
{
    for (const int channel : {0, 1}) {
        SynthEngine engine(voiceRate);
        engine.handleMessage(noteOn(channel, 60, 100));
        std::vector<float> buffer(2 * 4800);
        engine.render(buffer.data(), 4800);
        double left = 0, right = 0;
        for (std::size_t i = 0; i < buffer.size(); i += 2) {
            left += std::abs(buffer[i]);
            right += std::abs(buffer[i + 1]);
        }
        ASSERT_GT(left, 1.0);
        if (channel == 0)
            EXPECT_EQ(left, right);
        else
            EXPECT_GT(std::abs(left - right), 0.1 * left);
    }
}

TEST(SynthTimbres, EveryTableHasTheLoudnessOfAUnitSine)
{
    const SynthWavetables tables(voiceRate);
    for (int set = 0; set < SynthWavetables::partialSetCount; ++set) {
        const float* table = tables.table(set, 0);  // all harmonics
        double sum = 0;
        for (int i = 0; i < SynthWavetables::tableSize; ++i)
            sum += table[i] * table[i];
        EXPECT_NEAR(std::sqrt(sum / SynthWavetables::tableSize), std::sqrt(0.5), 1e-5) << set;
    }
}

TEST(SynthTimbres, EachOctaveTableHoldsEveryHarmonicBelowNyquistAndNoMore)
{
    for (const double sampleRate : {22050.0, 44100.0, 48000.0}) {
        const SynthWavetables tables(sampleRate);
        for (const double f : {8.0, 15.9, 16.0, 100.0, 440.0, 1000.0, 4186.0, 12000.0}) {
            const int level = SynthWavetables::levelForFrequency(f);
            const double bottom = SynthWavetables::lowestFrequency * std::exp2(level);
            const int harmonics = tables.harmonicsAtLevel(level);
            SCOPED_TRACE(std::to_string(sampleRate) + " Hz, " + std::to_string(f) + " Hz");
            EXPECT_LE(bottom, f);
            EXPECT_LT(f, 2 * bottom);
            // The highest fundamental the table serves keeps its top harmonic below Nyquist.
            EXPECT_TRUE(harmonics == 1 || harmonics * 2 * bottom < sampleRate / 2);
            EXPECT_TRUE(harmonics == SynthWavetables::maxHarmonics ||
                        (harmonics + 1) * 2 * bottom >= sampleRate / 2);
        }
    }
}

TEST(SynthTimbres, ProgramsOfThePipeGroupAreAPureSineAndOthersAreRich)
{
    constexpr std::size_t size = 1 << 16;
    const auto secondHarmonic = [&](int program) {
        SynthEngine engine(voiceRate);
        engine.handleMessage(programChange(0, program));
        engine.handleMessage(noteOn(0, 57, 100));  // 220 Hz
        std::vector<double> samples;
        renderMono(engine, samples, framesFor(engine, 0.6));
        samples.erase(samples.begin(),
                      samples.begin() + static_cast<std::ptrdiff_t>(framesFor(engine, 0.1)));
        const test::FourierMagnitudes fourier(samples, voiceRate, size);
        const double fundamental = fourier.peakMagnitude(215, 225);
        EXPECT_GT(fundamental, 1.0) << "program " << program << " is silent";
        return fourier.peakMagnitude(435, 445) / fundamental;
    };
    for (int program = 72; program <= 79; ++program)
        EXPECT_LT(secondHarmonic(program), 1e-4) << program;
    for (const int program : {0, 16, 40, 65})
        EXPECT_GT(secondHarmonic(program), 0.05) << program;
}

TEST(SynthTimbres, EveryProgramSoundsAtTheSameFundamental)
{
    // Under the sanitizers a program of each family, a different place in each.
    for (int program = 0; program < 128; program += test::underSanitizer ? 9 : 1) {
        SynthEngine engine(voiceRate);
        engine.handleMessage(programChange(3, program));
        engine.handleMessage(noteOn(3, 69, 100));
        std::vector<double> samples;
        renderMono(engine, samples, framesFor(engine, 0.3));
        const test::FourierMagnitudes fourier(samples, voiceRate, 1 << 15);
        EXPECT_NEAR(fourier.peakFrequency(300, 600), 440.0, 0.5) << program;
    }
}

TEST(SynthTimbres, NothingAliasesBelowTheNyquistFrequency)
{
    // Every peak of a high note must be one of its harmonics below Nyquist; a harmonic above
    // Nyquist would fold back between them.
    for (const double sampleRate : {44100.0, 48000.0, 22050.0}) {
        for (const int program : timbrePrograms) {
            for (const int note : {84, 96, 100, 105}) {
                SCOPED_TRACE(std::to_string(sampleRate) + " Hz, program " +
                             std::to_string(program) + ", note " + std::to_string(note));
                SynthEngine engine(sampleRate);
                engine.handleMessage(programChange(0, program));
                engine.handleMessage(pitchBend(0, 0, 80));  // half a semitone up
                engine.handleMessage(noteOn(0, static_cast<std::uint8_t>(note), 127));
                std::vector<double> samples;
                renderMono(engine, samples, static_cast<std::size_t>(0.1 * sampleRate));
                samples.clear();
                renderMono(engine, samples, static_cast<std::size_t>(0.2 * sampleRate));
                const test::FourierMagnitudes fourier(samples, sampleRate, 1 << 14,
                                                      test::Window::BlackmanHarris);
                // Beyond the main lobe and the nearest side lobes of a harmonic.
                const double skirt = 10 * sampleRate / static_cast<double>(samples.size());
                const double f0 = SynthEngine::noteFrequency(note, 8192 + 2048);
                const double peak = fourier.peakMagnitude(f0 * 0.97, f0 * 1.03);
                double worst = 0;
                for (std::size_t k = 1; k < fourier.bins(); ++k) {
                    const double hz = static_cast<double>(k) * fourier.binHz();
                    const double harmonic = std::round(hz / f0);
                    if (harmonic >= 1 && std::abs(hz - harmonic * f0) < skirt)
                        continue;
                    worst = std::max(worst, fourier.magnitude(k));
                }
                EXPECT_LT(worst, peak * 3e-4);  // -70 dB
            }
        }
    }
}

TEST(SynthTimbres, APitchAboveNyquistIsSilentRatherThanFolded)
{
    SynthEngine engine(22050);
    engine.handleMessage(programChange(0, test::sineProgram));
    engine.handleMessage(pitchBend(0, 127, 127));
    engine.handleMessage(noteOn(0, 127, 127));  // 13.3 kHz, above 11025 Hz
    std::vector<double> samples;
    renderMono(engine, samples, 4410);
    EXPECT_LT(rms(samples, 0, samples.size()), 1e-9);
    EXPECT_TRUE(engine.noteHeld(0, 127));
}

TEST(SynthTimbres, ADenseLoudChordStaysWithinFullScale)
{
    SynthEngine engine(voiceRate);
    for (int c = 0; c < 16; ++c) {
        engine.handleMessage(programChange(c, 16));  // organ: steady and rich
        engine.handleMessage(noteOn(c, static_cast<std::uint8_t>(36 + 2 * c), 127));
    }
    std::vector<float> buffer(2 * 48000);
    engine.render(buffer.data(), 48000);
    float largest = 0;
    float largestStep = 0;  // a limit that bends the wave the wrong way jumps
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        largest = std::max(largest, std::abs(buffer[i]));
        if (i >= 2)
            largestStep = std::max(largestStep, std::abs(buffer[i] - buffer[i - 2]));
    }
    EXPECT_LE(largest, 1.0f);
    EXPECT_GT(largest, 0.5f);
    EXPECT_LT(largestStep, 0.5f);
}

}  // namespace
}  // namespace tv
