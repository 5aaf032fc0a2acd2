#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tv {

enum class WavSampleFormat { Pcm16, Float32 };

// The RIFF header of a WAV file holding `frames` frames: "RIFF", "WAVE", a "fmt " chunk and the
// "data" chunk header. 16-bit PCM has the plain 16-byte format chunk (44 bytes in all); 32-bit
// float has format tag 3, an 18-byte format chunk and the "fact" chunk that formats other than
// PCM carry (58 bytes in all). All numbers little-endian.
std::vector<std::uint8_t> wavHeader(std::uint32_t sampleRate, std::uint16_t channels,
                                    WavSampleFormat format, std::uint32_t frames);

// Writes interleaved float samples into a WAV file as they come, then fills in the sizes.
// 16-bit samples are clamped to -1..1 and rounded to the nearest step.
class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Creates (or replaces) the file. False and a message in `error` when it cannot be opened.
    bool open(const std::string& path, std::uint32_t sampleRate, std::uint16_t channels,
              WavSampleFormat format, std::string& error);
    // Appends `frames` frames. False once writing has failed or the file would pass the
    // 4 GiB that the 32-bit RIFF sizes can describe; `finish` then reports why.
    bool write(const float* interleaved, std::size_t frames);
    // Writes the final sizes and closes the file. False and a message when anything failed.
    bool finish(std::string& error);

    std::uint64_t framesWritten() const { return frames_; }

private:
    void fail(const std::string& message);

    std::FILE* file_ = nullptr;
    std::string path_;
    std::uint32_t sampleRate_ = 0;
    std::uint16_t channels_ = 0;
    WavSampleFormat format_ = WavSampleFormat::Pcm16;
    std::uint64_t frames_ = 0;
    std::string error_;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace tv
