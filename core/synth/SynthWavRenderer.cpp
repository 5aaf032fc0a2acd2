#include "core/synth/SynthWavRenderer.h"

#include <algorithm>
#include <cmath>

namespace tv {
namespace {

constexpr std::uint64_t pieceFrames = 1024;
constexpr std::int64_t nanosecondsPerSecond = 1'000'000'000;

}  // namespace

SynthWavRenderer::SynthWavRenderer(std::uint32_t sampleRate)
    : sampleRate_(sampleRate), engine_(sampleRate), buffer_(2 * pieceFrames)
{
}

bool SynthWavRenderer::open(const std::string& path, WavSampleFormat format, std::string& error)
{
    failed_ = false;
    return writer_.open(path, sampleRate_, 2, format, error);
}

void SynthWavRenderer::send(std::uint32_t packed) { engine_.handleMessage(packed); }

PlayerTime SynthWavRenderer::now()
{
    // Whole frames times whole nanoseconds stay exact far beyond the 4 GiB a WAV file holds.
    return PlayerTime(static_cast<PlayerTime::rep>(engine_.framesRendered()) *
                      nanosecondsPerSecond / sampleRate_);
}

bool SynthWavRenderer::waitUntil(PlayerTime due)
{
    // The frame at which `due` falls, to the nearest frame; whole milliseconds at the usual
    // rates are whole frames.
    const double frame = std::round(static_cast<double>(due.count()) *
                                    (static_cast<double>(sampleRate_) / nanosecondsPerSecond));
    const double rendered = static_cast<double>(engine_.framesRendered());
    if (frame > rendered)
        return renderFrames(static_cast<std::uint64_t>(frame - rendered));
    return !failed_;
}

bool SynthWavRenderer::renderTail(double limitSeconds)
{
    auto left = static_cast<std::uint64_t>(limitSeconds * sampleRate_);
    while (engine_.activeVoices() > 0 && left > 0 && !failed_) {
        const std::uint64_t count = std::min(left, pieceFrames);
        renderFrames(count);
        left -= count;
    }
    return !failed_;
}

bool SynthWavRenderer::renderFrames(std::uint64_t count)
{
    while (count > 0 && !failed_) {
        const std::uint64_t piece = std::min(count, pieceFrames);
        engine_.render(buffer_.data(), piece);
        if (!writer_.write(buffer_.data(), piece))
            failed_ = true;  // writer_.finish gives the reason
        count -= piece;
    }
    return !failed_;
}

bool SynthWavRenderer::finish(std::string& error) { return writer_.finish(error); }

}  // namespace tv
