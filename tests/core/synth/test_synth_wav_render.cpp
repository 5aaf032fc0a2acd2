// Scripts rendered into WAV files with the built-in synthesizer: the player's own timing, the
// exact pitches.

#include "FrequencyAnalysis.h"
#include "core/script/ChannelNoteTable.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayer.h"
#include "core/synth/SynthWavRenderer.h"
#include "core/synth/WavWriter.h"

#include "support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace tv {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Left + right of each frame of a 16-bit stereo WAV file with the plain 44-byte header.
std::vector<double> monoFrames(const Bytes& file)
{
    std::vector<double> out;
    for (std::size_t i = 44; i + 3 < file.size(); i += 4) {
        const auto left = static_cast<std::int16_t>(file[i] | file[i + 1] << 8);
        const auto right = static_cast<std::int16_t>(file[i + 2] | file[i + 3] << 8);
        out.push_back((left + right) / 32767.0);
    }
    return out;
}

struct ScriptWavTest : ::testing::Test {
    test::ScratchDirectory scratch;
    std::filesystem::path directory = scratch.path();
};

// A fifth for 500 ms, a rest of 250 ms, then a seventh for one second: every note on the sine
// program.
constexpr const char* script = "PLAY *73 1/1 *73 3/2 500 MSEC REST 250 MSEC PLAY *73 7/4 1 SEC";

TEST_F(ScriptWavTest, TheRenderedScriptKeepsThePlayersTimingAndExactPitches)
{
    constexpr std::uint32_t rate = 48000;
    const auto path = directory / "script.wav";
    SynthWavRenderer renderer(rate);
    std::string error;
    ASSERT_TRUE(renderer.open(path.string(), WavSampleFormat::Pcm16, error)) << error;
    ChannelNoteTable channelNotes;
    runScript(*compileScript(script).code, renderer, channelNotes, renderer,
              [](std::string_view message) { ADD_FAILURE() << message; });
    EXPECT_EQ(renderer.framesRendered(), 1750u * rate / 1000);  // the script's full length
    EXPECT_TRUE(renderer.renderTail(2.0));
    EXPECT_EQ(renderer.engine().activeVoices(), 0);
    const std::uint64_t frames = renderer.framesRendered();
    EXPECT_LT(frames, 1800u * rate / 1000);  // the last note-off came 100 ms before the end
    ASSERT_TRUE(renderer.finish(error)) << error;

    const Bytes file = readFile(path);
    ASSERT_EQ(file.size(), 44 + 4 * frames);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 44),
              wavHeader(rate, 2, WavSampleFormat::Pcm16, static_cast<std::uint32_t>(frames)));
    const std::vector<double> samples = monoFrames(file);
    const auto at = [&](double ms) { return static_cast<std::size_t>(ms * rate / 1000); };

    // Sound until the note-offs at 400 ms and their 15 ms release, silence through the rest,
    // and the next chord from exactly 750 ms (its first frame is the zero of a sine).
    EXPECT_GT(test::largestStep(samples, at(350), at(400)), 0.01);
    for (std::size_t i = at(430); i <= at(750); ++i)
        ASSERT_EQ(samples[i], 0.0) << "frame " << i;
    EXPECT_NE(samples[at(750) + 1], 0.0);

    const double middleC = 440.0 * std::pow(2.0, -9.0 / 12.0);
    const auto measure = [&](double fromMs, double toMs, double expected) {
        const std::vector<double> part(samples.begin() + static_cast<std::ptrdiff_t>(at(fromMs)),
                                       samples.begin() + static_cast<std::ptrdiff_t>(at(toMs)));
        const test::FourierMagnitudes fourier(part, rate, 1 << 19);
        return test::centsBetween(fourier.peakFrequency(expected * 0.98, expected * 1.02),
                                  expected);
    };
    EXPECT_NEAR(measure(30, 390, middleC), 0.0, 0.05);
    EXPECT_NEAR(measure(30, 390, middleC * 3 / 2), 0.0, 0.05);
    EXPECT_NEAR(measure(800, 1600, middleC * 7 / 4), 0.0, 0.05);
}

TEST_F(ScriptWavTest, AFileThatCannotBeWrittenStopsThePlayer)
{
    SynthWavRenderer renderer(44100);
    std::string error;
    const auto missing = directory / "missing" / "out.wav";
    EXPECT_FALSE(renderer.open(missing.string(), WavSampleFormat::Pcm16, error));
    EXPECT_EQ(error, "Unable to open " + missing.string() + " for writing");
    // With no file to take it, the first wait fails and the player stops there.
    EXPECT_FALSE(renderer.waitUntil(std::chrono::milliseconds(10)));
    // A file that opens afterwards takes the audio again.
    ASSERT_TRUE(renderer.open((directory / "out.wav").string(), WavSampleFormat::Pcm16, error));
    EXPECT_TRUE(renderer.waitUntil(std::chrono::milliseconds(20)));
}

TEST_F(ScriptWavTest, AWaitEndsOnTheNearestFrame)
{
    SynthWavRenderer renderer(44100);
    std::string error;
    ASSERT_TRUE(renderer.open((directory / "frames.wav").string(), WavSampleFormat::Pcm16, error));
    const std::pair<std::int64_t, std::uint64_t> cases[] = {
        {1'000'000, 44},    // 44.1 frames
        {7'000'000, 309},   // 308.7
        {7'029'478, 310},   // one frame on
        {12'000'000, 529},  // 529.2
        {19'000'000, 838},  // 837.9
    };
    for (const auto& [nanoseconds, frames] : cases) {
        EXPECT_TRUE(renderer.waitUntil(std::chrono::nanoseconds(nanoseconds)));
        EXPECT_EQ(renderer.framesRendered(), frames) << nanoseconds;
    }
}

}  // namespace
}  // namespace tv
