// The built-in synthesizer as the receiver of each tuning method: its sound, measured on the
// rendered audio, is the pitch the messages encode to within 0.01 cent.

#include "SynthRender.h"
#include "core/midi/MidiOutput.h"
#include "core/midi/MidiService.h"
#include "core/pitch/Ratio.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace tv {
namespace {

constexpr double engineRate = 48000;

class EngineService : public MidiService {
public:
    explicit EngineService(SynthEngine& engine) : engine_(engine) {}
    void send(std::uint32_t packed) override { engine_.handleMessage(packed); }
    void sendBytes(std::span<const std::uint8_t> message) override { engine_.handleBytes(message); }

private:
    SynthEngine& engine_;
};

// The frequency of a steady sine from its upward zero crossings, each placed between two
// samples by linear interpolation, over whole cycles.
double zeroCrossingFrequency(const std::vector<double>& samples, std::size_t from)
{
    double first = -1, last = -1;
    long cycles = -1;
    for (std::size_t n = from + 1; n < samples.size(); ++n) {
        if (samples[n - 1] < 0 && samples[n] >= 0) {
            const double at =
                static_cast<double>(n - 1) + samples[n - 1] / (samples[n - 1] - samples[n]);
            if (first < 0)
                first = at;
            last = at;
            ++cycles;
        }
    }
    return cycles > 0 ? cycles * engineRate / (last - first) : 0.0;
}

double centsApart(double a, double b) { return 1200.0 * std::log2(a / b); }

TEST(SynthTuningMethods, EachMethodSoundsItsPitchWithinAHundredthOfACent)
{
    struct Case {
        TuningKind kind;
        int range;
        double worstAgainstJust;  // what the method's resolution allows
    };
    const Case cases[] = {
        {TuningKind::Bend, 2, 100.0 / 8192 + 0.01},  // half a bend step at range 2
        {TuningKind::Mts, 2, 100.0 / 32768 + 0.01},  // half a step of the frequency word
        {TuningKind::Mpe, 48, 4800.0 / 16384 + 0.01},
    };
    const std::pair<std::uint32_t, std::uint32_t> ratios[] = {{5, 4}, {7, 4}, {13, 8}, {81, 64}};
    int measured = 0;
    for (const Case& c : cases) {
        for (const auto& [n, d] : ratios) {
            SCOPED_TRACE(std::string(tuningWord(c.kind)) + " " + std::to_string(n) + "/" +
                         std::to_string(d));
            SynthEngine engine(engineRate);
            MidiOutput output(std::make_shared<EngineService>(engine));
            output.setBendRange(c.range, false);
            PitchOutput pitches(output);
            pitches.setKind(c.kind);
            PitchChord chord(pitches);
            ASSERT_TRUE(chord.add(ExactPitch::ratio(n, d)));
            chord.play(test::sineProgram);

            // What the messages encode: the key's tuning and the channel's bend.
            const int channel = c.kind == TuningKind::Mpe ? 1 : 0;
            int key = -1;
            for (int k = 0; k < 128 && key < 0; ++k)
                key = engine.noteHeld(channel, k) ? k : -1;
            ASSERT_GE(key, 0);
            const double encoded = SynthEngine::pitchFrequency(
                engine.keyPitch(key), engine.bend(channel), engine.bendRange(channel));
            const double just = 440.0 * std::exp2((ratioCents(n, d) / 100.0 - 9.0) / 12.0);

            std::vector<double> samples;
            test::renderMono(engine, samples, test::framesFor(engine, 3.0));
            const double heard =
                zeroCrossingFrequency(samples, static_cast<std::size_t>(engineRate / 2));
            EXPECT_NEAR(centsApart(heard, encoded), 0.0, 0.01);
            EXPECT_NEAR(centsApart(heard, just), 0.0, c.worstAgainstJust);
            ++measured;
        }
    }
    EXPECT_EQ(measured, 12);
}

}  // namespace
}  // namespace tv
