// WAV files written by the built-in synthesizer's renderer, checked byte for byte.

#include "core/synth/WavWriter.h"

#include "support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tv {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readWavFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct WavWriterTest : ::testing::Test {
    test::ScratchDirectory scratch;
    std::filesystem::path directory = scratch.path();
};

TEST(WavHeader, SixteenBitStereo)
{
    // 3 frames at 48000 Hz: 12 data bytes, 192000 bytes a second, 4 bytes a frame.
    const Bytes expected{'R',  'I',  'F', 'F', 48,   0,    0,    0, 'W', 'A', 'V', 'E',  //
                         'f',  'm',  't', ' ', 16,   0,    0,    0, 1,   0,   2,   0,    //
                         0x80, 0xBB, 0,   0,   0x00, 0xEE, 0x02, 0, 4,   0,   16,  0,    //
                         'd',  'a',  't', 'a', 12,   0,    0,    0};
    EXPECT_EQ(wavHeader(48000, 2, WavSampleFormat::Pcm16, 3), expected);
}

TEST(WavHeader, FloatMonoCarriesAFactChunk)
{
    // 5 frames at 44100 Hz: 20 data bytes, 176400 bytes a second.
    const Bytes expected{'R',  'I',  'F', 'F', 70,   0,    0,    0, 'W', 'A', 'V', 'E',        //
                         'f',  'm',  't', ' ', 18,   0,    0,    0, 3,   0,   1,   0,          //
                         0x44, 0xAC, 0,   0,   0x10, 0xB1, 0x02, 0, 4,   0,   32,  0,   0, 0,  //
                         'f',  'a',  'c', 't', 4,    0,    0,    0, 5,   0,   0,   0,          //
                         'd',  'a',  't', 'a', 20,   0,    0,    0};
    EXPECT_EQ(wavHeader(44100, 1, WavSampleFormat::Float32, 5), expected);
}

TEST_F(WavWriterTest, SixteenBitSamplesAreRoundedAndClamped)
{
    const auto path = directory / "pcm.wav";
    WavWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(path.string(), 48000, 2, WavSampleFormat::Pcm16, error)) << error;
    const float first[] = {0.5f, -0.5f};
    const float rest[] = {1.5f, -2.0f, 0.00002f, -0.00002f};
    EXPECT_TRUE(writer.write(first, 1));
    EXPECT_TRUE(writer.write(rest, 2));
    EXPECT_TRUE(writer.finish(error)) << error;
    EXPECT_EQ(writer.framesWritten(), 3u);

    Bytes expected = wavHeader(48000, 2, WavSampleFormat::Pcm16, 3);
    // 16384, -16384, 32767, -32767, 1, -1
    const Bytes samples{0x00, 0x40, 0x00, 0xC0, 0xFF, 0x7F, 0x01, 0x80, 0x01, 0x00, 0xFF, 0xFF};
    expected.insert(expected.end(), samples.begin(), samples.end());
    EXPECT_EQ(readWavFile(path), expected);
}

TEST_F(WavWriterTest, FloatSamplesAreStoredAsTheyAre)
{
    const auto path = directory / "float.wav";
    std::string error;
    {
        WavWriter writer;
        ASSERT_TRUE(writer.open(path.string(), 44100, 2, WavSampleFormat::Float32, error));
        const float frame[] = {0.25f, -1.5f};
        writer.write(frame, 1);
        // Closing without finish() still leaves a complete file.
    }
    Bytes expected = wavHeader(44100, 2, WavSampleFormat::Float32, 1);
    const Bytes samples{0x00, 0x00, 0x80, 0x3E, 0x00, 0x00, 0xC0, 0xBF};
    expected.insert(expected.end(), samples.begin(), samples.end());
    EXPECT_EQ(readWavFile(path), expected);
}

TEST_F(WavWriterTest, FailuresAreReportedNotHidden)
{
    WavWriter writer;
    std::string error;
    const auto missing = directory / "no such folder" / "out.wav";
    EXPECT_FALSE(writer.open(missing.string(), 48000, 2, WavSampleFormat::Pcm16, error));
    EXPECT_EQ(error, "Unable to open " + missing.string() + " for writing");

    // 2^30 stereo 16-bit frames are 4 GiB: more than a RIFF size can say. Refused before a
    // byte is read or written.
    const auto path = directory / "huge.wav";
    ASSERT_TRUE(writer.open(path.string(), 48000, 2, WavSampleFormat::Pcm16, error));
    EXPECT_FALSE(writer.write(nullptr, std::size_t{1} << 30));
    const float frame[] = {0.1f, 0.1f};
    EXPECT_FALSE(writer.write(frame, 1));
    EXPECT_FALSE(writer.finish(error));
    EXPECT_NE(error.find("larger than 4 GiB"), std::string::npos) << error;
    // What was there is still a readable, empty WAV file.
    EXPECT_EQ(readWavFile(path), wavHeader(48000, 2, WavSampleFormat::Pcm16, 0));
}

}  // namespace
}  // namespace tv
