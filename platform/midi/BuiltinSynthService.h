#pragma once

#include "core/midi/MidiService.h"
#include "core/synth/SynthEngine.h"
#include "core/synth/SynthMessageQueue.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class RtAudio;

namespace tv {

// The built-in synthesizer as a MIDI output: messages from the user-interface thread and any
// number of player threads go through a lock-free queue to the audio callback, which applies
// them and renders the next buffer (about 5 ms) into the system's default audio output
// through RtAudio. A message therefore sounds from the start of the next buffer.
class BuiltinSynthService : public MidiService {
public:
    static constexpr const char* deviceName = "Tonalvane built-in synthesizer";
    static constexpr double bufferSeconds = 0.005;

    // Opens the default audio output and starts playing. Null, and RtAudio's reason in
    // `error`, when there is no audio output or it cannot be opened.
    static std::shared_ptr<BuiltinSynthService> open(std::string& error);

    // A synthesizer with no audio device behind it: the owner calls renderAudio itself.
    explicit BuiltinSynthService(double sampleRate);
    ~BuiltinSynthService() override;
    BuiltinSynthService(const BuiltinSynthService&) = delete;
    BuiltinSynthService& operator=(const BuiltinSynthService&) = delete;

    // Any thread; never blocks. Dropped after close, or when the queue is full because the
    // audio has stopped running.
    void send(std::uint32_t packed) override;
    // Tuning changes reach the audio callback through the same queue, a key per entry; other
    // system-exclusive messages are passed over.
    void sendBytes(std::span<const std::uint8_t> message) override;
    // Stops and closes the audio output; later messages are dropped. Notes already released
    // are given up to closeGraceSeconds to fade out, so the sound does not end with a click.
    void close() override;
    static constexpr double closeGraceSeconds = 0.3;

    // Applies every message queued so far, then renders `frames` stereo frames. Called by the
    // audio callback, or by the owner of a service without a device (one thread at a time).
    void renderAudio(float* interleaved, std::size_t frames);

    double sampleRate() const { return engine_.sampleRate(); }
    // Frames per audio buffer as the device granted them (0 without a device).
    unsigned bufferFrames() const { return bufferFrames_; }
    std::uint64_t droppedMessages() const { return dropped_.load(std::memory_order_relaxed); }
    // For the thread that renders: the state after the last renderAudio.
    const SynthEngine& engine() const { return engine_; }

private:
    static int audioCallback(void* output, void* input, unsigned frames, double streamTime,
                             unsigned status, void* user);
    void renderDevice(float* output, std::size_t frames);

    SynthEngine engine_;
    SynthMessageQueue queue_;
    std::atomic<bool> closed_{false};
    std::atomic<std::uint64_t> dropped_{0};
    std::atomic<int> sounding_{0};  // voices after the last rendered buffer

    std::mutex closeMutex_;  // close() from several threads; never taken by the audio callback
    std::unique_ptr<RtAudio> audio_;
    unsigned bufferFrames_ = 0;
    unsigned deviceChannels_ = 2;
    std::vector<float> mixdown_;  // stereo frames for a mono device
};

}  // namespace tv
