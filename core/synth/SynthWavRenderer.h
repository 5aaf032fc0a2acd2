#pragma once

#include "core/midi/MidiService.h"
#include "core/script/PlayerClock.h"
#include "core/synth/SynthEngine.h"
#include "core/synth/WavWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tv {

// Plays timed MIDI messages (a script player's) into a WAV file with the built-in
// synthesizer, faster than real time: the player's clock is the audio itself. `now` is the
// time of the frames rendered so far, `waitUntil` renders up to the due frame, and a message
// sounds from the frame at which it is sent. One thread only.
class SynthWavRenderer : public MidiService, public PlayerClock {
public:
    explicit SynthWavRenderer(std::uint32_t sampleRate);

    // Creates the stereo WAV file. False and a message when it cannot be opened.
    bool open(const std::string& path, WavSampleFormat format, std::string& error);

    void send(std::uint32_t packed) override;
    void sendBytes(std::span<const std::uint8_t> message) override { engine_.handleBytes(message); }
    PlayerTime now() override;
    // False once the file could not take more audio; the player then stops.
    bool waitUntil(PlayerTime due) override;

    // Renders on until every note has died away, or for at most `limitSeconds`.
    bool renderTail(double limitSeconds);
    // Writes the file's sizes and closes it. False and a message when anything failed.
    bool finish(std::string& error);

    std::uint64_t framesRendered() const { return engine_.framesRendered(); }
    const SynthEngine& engine() const { return engine_; }

private:
    bool renderFrames(std::uint64_t count);

    std::uint32_t sampleRate_;
    SynthEngine engine_;
    WavWriter writer_;
    std::vector<float> buffer_;
    bool failed_ = false;
};

}  // namespace tv
