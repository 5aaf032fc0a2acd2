#include "platform/midi/BuiltinSynthService.h"

#include "platform/midi/BackendQuiet.h"

#include <rtaudio/RtAudio.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <thread>

namespace tv {
namespace {

constexpr unsigned defaultSampleRate = 48000;

// RtAudio's words for a failure: the exception's text, and whatever its backends printed.
std::string audioReason(const std::string& message, const BackendQuiet& quiet)
{
    std::string text = message;
    const std::string printed = quiet.text();
    if (!printed.empty() && text.find(printed) == std::string::npos)
        text += (text.empty() ? "" : " (") + printed + (text.empty() ? "" : ")");
    return text;
}

// The default output when it can play, else the first device that can.
bool chooseDevice(RtAudio& audio, unsigned& device, RtAudio::DeviceInfo& info)
{
    const unsigned count = audio.getDeviceCount();
    const unsigned preferred = audio.getDefaultOutputDevice();
    if (preferred < count) {
        info = audio.getDeviceInfo(preferred);
        if (info.probed && info.outputChannels > 0) {
            device = preferred;
            return true;
        }
    }
    for (unsigned i = 0; i < count; ++i) {
        info = audio.getDeviceInfo(i);
        if (info.probed && info.outputChannels > 0) {
            device = i;
            return true;
        }
    }
    return false;
}

}  // namespace

BuiltinSynthService::BuiltinSynthService(double sampleRate) : engine_(sampleRate) {}

BuiltinSynthService::~BuiltinSynthService() { close(); }

std::shared_ptr<BuiltinSynthService> BuiltinSynthService::open(std::string& error)
{
    BackendQuiet quiet;
    try {
        auto audio = std::make_unique<RtAudio>();
        unsigned device = 0;
        RtAudio::DeviceInfo info;
        if (!chooseDevice(*audio, device, info)) {
            error = audioReason("No audio output device was found.", quiet);
            return nullptr;
        }
        const unsigned rate =
            info.preferredSampleRate ? info.preferredSampleRate : defaultSampleRate;
        std::shared_ptr<BuiltinSynthService> service(new BuiltinSynthService(rate));
        service->deviceChannels_ = std::min(info.outputChannels, 2u);

        RtAudio::StreamParameters parameters;
        parameters.deviceId = device;
        parameters.nChannels = service->deviceChannels_;
        RtAudio::StreamOptions options;
        options.flags = RTAUDIO_MINIMIZE_LATENCY;
        options.numberOfBuffers = 2;
        options.streamName = "Tonalvane";
        unsigned frames = static_cast<unsigned>(std::lround(rate * bufferSeconds));
        audio->openStream(&parameters, nullptr, RTAUDIO_FLOAT32, rate, &frames,
                          &BuiltinSynthService::audioCallback, service.get(), &options);
        if (!audio->isStreamOpen()) {
            error = audioReason("The audio output could not be opened.", quiet);
            return nullptr;
        }
        service->bufferFrames_ = frames;
        service->mixdown_.assign(2 * static_cast<std::size_t>(std::max(frames, 64u)), 0.0f);
        // An occasional underrun while playing is not worth a line on the user's terminal.
        audio->showWarnings(false);
        audio->startStream();
        service->audio_ = std::move(audio);
        return service;
    } catch (const RtAudioError& e) {
        error = audioReason(e.getMessage(), quiet);
    } catch (const std::exception& e) {
        error = audioReason(e.what(), quiet);
    }
    return nullptr;
}

void BuiltinSynthService::send(std::uint32_t packed)
{
    if (closed_.load(std::memory_order_acquire))
        return;
    if (!queue_.push(packed))
        dropped_.fetch_add(1, std::memory_order_relaxed);
}

void BuiltinSynthService::sendBytes(std::span<const std::uint8_t> message)
{
    if (closed_.load(std::memory_order_acquire))
        return;
    SynthEngine::keyTunings(message, [this](std::uint32_t tuning) {
        if (!queue_.push(tuning))
            dropped_.fetch_add(1, std::memory_order_relaxed);
    });
}

void BuiltinSynthService::close()
{
    std::lock_guard lock(closeMutex_);
    closed_.store(true, std::memory_order_release);
    if (!audio_)
        return;
    BackendQuiet quiet;
    try {
        if (audio_->isStreamRunning()) {
            // The callback keeps taking queued messages (the last note-offs) and rendering.
            const auto deadline =
                std::chrono::steady_clock::now() + std::chrono::duration<double>(closeGraceSeconds);
            while (sounding_.load(std::memory_order_acquire) > 0 &&
                   std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            audio_->stopStream();
        }
        if (audio_->isStreamOpen())
            audio_->closeStream();
    } catch (const RtAudioError&) {
        // The device is going away either way.
    }
    audio_.reset();
}

void BuiltinSynthService::renderAudio(float* interleaved, std::size_t frames)
{
    std::uint32_t message = 0;
    while (queue_.pop(message))
        engine_.handleMessage(message);
    engine_.render(interleaved, frames);
    sounding_.store(engine_.activeVoices(), std::memory_order_release);
}

void BuiltinSynthService::renderDevice(float* output, std::size_t frames)
{
    if (deviceChannels_ == 2) {
        renderAudio(output, frames);
        return;
    }
    // A mono device gets the sum of both sides, rendered in pieces that fit the buffer made
    // when the stream was opened (the callback never allocates).
    const std::size_t piece = mixdown_.size() / 2;
    for (std::size_t done = 0; done < frames;) {
        const std::size_t count = std::min(piece, frames - done);
        renderAudio(mixdown_.data(), count);
        for (std::size_t i = 0; i < count; ++i)
            output[done + i] = 0.5f * (mixdown_[2 * i] + mixdown_[2 * i + 1]);
        done += count;
    }
}

int BuiltinSynthService::audioCallback(void* output, void*, unsigned frames, double, unsigned,
                                       void* user)
{
    static_cast<BuiltinSynthService*>(user)->renderDevice(static_cast<float*>(output), frames);
    return 0;
}

}  // namespace tv
