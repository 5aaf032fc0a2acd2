#include "core/synth/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tv {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putTag(std::vector<std::uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

std::uint16_t bytesPerSample(WavSampleFormat format)
{
    return format == WavSampleFormat::Pcm16 ? 2 : 4;
}

std::size_t headerSize(WavSampleFormat format)
{
    return format == WavSampleFormat::Pcm16 ? 44 : 58;
}

// The RIFF size field (file size less 8) must fit in 32 bits.
std::uint64_t maxDataBytes(WavSampleFormat format)
{
    return 0xFFFFFFFFull - (headerSize(format) - 8);
}

}  // namespace

std::vector<std::uint8_t> wavHeader(std::uint32_t sampleRate, std::uint16_t channels,
                                    WavSampleFormat format, std::uint32_t frames)
{
    const bool pcm = format == WavSampleFormat::Pcm16;
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * bytesPerSample(format));
    const std::uint32_t dataBytes = frames * blockAlign;
    std::vector<std::uint8_t> out;
    out.reserve(headerSize(format));
    putTag(out, "RIFF");
    put32(out, static_cast<std::uint32_t>(headerSize(format) - 8) + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, pcm ? 16 : 18);
    put16(out, pcm ? 1 : 3);  // WAVE_FORMAT_PCM, WAVE_FORMAT_IEEE_FLOAT
    put16(out, channels);
    put32(out, sampleRate);
    put32(out, sampleRate * blockAlign);  // bytes per second
    put16(out, blockAlign);
    put16(out, static_cast<std::uint16_t>(8 * bytesPerSample(format)));
    if (!pcm) {
        put16(out, 0);  // no extra format bytes
        putTag(out, "fact");
        put32(out, 4);
        put32(out, frames);  // samples per channel
    }
    putTag(out, "data");
    put32(out, dataBytes);
    return out;
}

WavWriter::~WavWriter()
{
    std::string ignored;
    finish(ignored);
}

bool WavWriter::open(const std::string& path, std::uint32_t sampleRate, std::uint16_t channels,
                     WavSampleFormat format, std::string& error)
{
    finish(error);
    error.clear();
    error_.clear();
    path_ = path;
    sampleRate_ = sampleRate;
    channels_ = channels;
    format_ = format;
    frames_ = 0;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) {
        error = "Unable to open " + path + " for writing";
        return false;
    }
    // A header for no frames yet; finish() writes the real sizes over it.
    const auto header = wavHeader(sampleRate, channels, format, 0);
    if (std::fwrite(header.data(), 1, header.size(), file_) != header.size()) {
        fail("Unable to write " + path);
        error = error_;
        return false;
    }
    return true;
}

void WavWriter::fail(const std::string& message)
{
    if (error_.empty())
        error_ = message;
}

bool WavWriter::write(const float* interleaved, std::size_t frames)
{
    if (!file_ || !error_.empty())
        return false;
    const std::size_t samples = frames * channels_;
    const std::size_t bytes = samples * bytesPerSample(format_);
    const std::uint64_t blockAlign = channels_ * bytesPerSample(format_);
    if ((frames_ + frames) * blockAlign > maxDataBytes(format_)) {
        fail("The WAV file " + path_ + " would be larger than 4 GiB");
        return false;
    }
    buffer_.resize(bytes);
    std::uint8_t* out = buffer_.data();
    if (format_ == WavSampleFormat::Pcm16) {
        for (std::size_t i = 0; i < samples; ++i) {
            const float clamped = std::clamp(interleaved[i], -1.0f, 1.0f);
            // NaN would survive the clamp; it becomes silence.
            const long step = clamped == clamped ? std::lround(clamped * 32767.0f) : 0;
            const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>(step));
            *out++ = static_cast<std::uint8_t>(value);
            *out++ = static_cast<std::uint8_t>(value >> 8);
        }
    } else {
        for (std::size_t i = 0; i < samples; ++i) {
            std::uint32_t bits = 0;
            std::memcpy(&bits, &interleaved[i], 4);
            for (int shift = 0; shift < 32; shift += 8)
                *out++ = static_cast<std::uint8_t>(bits >> shift);
        }
    }
    if (std::fwrite(buffer_.data(), 1, bytes, file_) != bytes) {
        fail("Unable to write " + path_);
        return false;
    }
    frames_ += frames;
    return true;
}

bool WavWriter::finish(std::string& error)
{
    if (!file_)
        return true;
    if (error_.empty()) {
        const auto header =
            wavHeader(sampleRate_, channels_, format_, static_cast<std::uint32_t>(frames_));
        if (std::fseek(file_, 0, SEEK_SET) != 0 ||
            std::fwrite(header.data(), 1, header.size(), file_) != header.size())
            fail("Unable to write " + path_);
    }
    if (std::fclose(file_) != 0)
        fail("Unable to write " + path_);
    file_ = nullptr;
    if (!error_.empty()) {
        error = error_;
        return false;
    }
    return true;
}

}  // namespace tv
