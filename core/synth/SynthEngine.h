#pragma once

#include "core/synth/SynthTimbre.h"
#include "core/synth/SynthVoice.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace tv {

// The built-in synthesizer: takes the same packed MIDI messages as every other output and
// renders interleaved stereo float samples. Every note sounds at exactly
// 440 x 2^((note - 69 + bend in semitones) / 12) Hz, with the bend range of 2 semitones that
// MIDI instruments use by default until registered parameter 0 sets another for the channel,
// so a bent note is exactly the pitch its messages encode.
//
// Understands note on (velocity 0 as note off), note off, program change, pitch bend and the
// bend range (controllers 101 and 100 choose parameter 0, then 6 gives whole semitones and 38
// cents) on all 16 channels; other messages are ignored. Not thread-safe: one thread hands it
// messages and renders (the built-in synthesizer service queues messages from other threads).
class SynthEngine {
public:
    static constexpr int maxVoices = 64;  // notes at once; one more steals the oldest
    static constexpr int channelCount = 16;
    static constexpr int blockFrames = 64;         // voices recompute their exact phase per block
    static constexpr double stealSeconds = 0.003;  // fade of a stolen voice

    explicit SynthEngine(double sampleRate);
    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    void handleMessage(std::uint32_t packed);
    // Writes `frames` frames (left, right) into `interleaved`, replacing what was there.
    void render(float* interleaved, std::size_t frames);

    double sampleRate() const { return sampleRate_; }
    std::uint64_t framesRendered() const { return framesRendered_; }

    // Voices playing a note, held or in release; stolen voices that are fading out do not
    // count.
    int activeVoices() const;
    // True while a note-on for this note on this channel has had no note-off.
    bool noteHeld(int channel, int note) const;
    int program(int channel) const { return channels_[channel & 15].program; }
    int bend(int channel) const { return channels_[channel & 15].bend; }
    // The channel's bend range in semitones.
    double bendRange(int channel) const { return channels_[channel & 15].bendRange; }

    // The exact frequency in Hz of `note` under a 14-bit pitch bend (8192 = none) that reaches
    // `bendRange` semitones each way.
    static double noteFrequency(int note, int bend, double bendRange = 2.0);

private:
    struct Channel {
        int program = 0;
        int bend = 8192;
        double bendRange = 2.0;
        // The registered parameter chosen by controllers 101 and 100; 127 127 is none.
        int parameterMsb = 127;
        int parameterLsb = 127;
        float panLeft = 0.7071f;
        float panRight = 0.7071f;
    };
    // Room for every playing voice plus stolen ones that are still fading out.
    static constexpr int slotCount = maxVoices + 32;

    void noteOn(int channel, int note, int velocity);
    void noteOff(int channel, int note);
    void setBend(int channel, int bend);
    void controller(int channel, int number, int value);
    int freeSlot();

    double sampleRate_;
    SynthWavetables tables_;
    std::array<Channel, channelCount> channels_{};
    std::array<SynthVoice, slotCount> voices_{};
    std::array<bool, slotCount> stolen_{};
    std::uint64_t nextOrder_ = 0;
    std::uint64_t framesRendered_ = 0;
};

}  // namespace tv
