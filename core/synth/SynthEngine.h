#pragma once

#include "core/synth/SynthTimbre.h"
#include "core/synth/SynthVoice.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tv {

// The built-in synthesizer: takes the same packed MIDI messages as every other output and
// renders interleaved stereo float samples. Every note sounds at exactly
// 440 x 2^((note - 69 + bend in semitones) / 12) Hz, with the bend range of 2 semitones that
// MIDI instruments use by default until registered parameter 0 sets another for the channel,
// so a bent note is exactly the pitch its messages encode.
//
// Understands note on (velocity 0 as note off), note off, program change, pitch bend and the
// bend range (controllers 101 and 100 choose parameter 0, then 6 gives whole semitones and 38
// cents) on all 16 channels, so an MPE zone plays as its messages say; and the MIDI Tuning
// Standard's single-note tuning change in its real-time form, which retunes a key on every
// channel (sounding notes included) to its frequency word exactly. Other messages are
// ignored. Not thread-safe: one thread hands it
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
    // A message of any length (system exclusive, F0 to F7).
    void handleBytes(std::span<const std::uint8_t> message);
    // A key's tuning as one packed word (see keyTuningMessage), for a queue of packed words.
    static std::uint32_t keyTuningMessage(std::uint8_t key, std::uint8_t note,
                                          std::uint8_t fractionMsb, std::uint8_t fractionLsb);
    // The keys a single-note tuning change retunes, as keyTuningMessage words, given to
    // `take` one by one; false when `message` is no such change.
    template <typename Take>
    static bool keyTunings(std::span<const std::uint8_t> message, Take&& take);
    // The pitch of a key, in semitones above note 0 (the key itself until it is retuned).
    double keyPitch(int key) const { return keyPitch_[static_cast<std::size_t>(key & 127)]; }
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
    // The same with the note given as a pitch in semitones above note 0.
    static double pitchFrequency(double pitch, int bend, double bendRange = 2.0);

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
    void tuneKey(int key, double pitch);
    int freeSlot();

    double sampleRate_;
    SynthWavetables tables_;
    std::array<Channel, channelCount> channels_{};
    std::array<double, 128> keyPitch_{};
    std::array<SynthVoice, slotCount> voices_{};
    std::array<bool, slotCount> stolen_{};
    std::uint64_t nextOrder_ = 0;
    std::uint64_t framesRendered_ = 0;
};

template <typename Take>
bool SynthEngine::keyTunings(std::span<const std::uint8_t> message, Take&& take)
{
    // F0 7F dd 08 02 tt ll [kk xx yy zz] x ll F7
    if (message.size() < 8 || message[0] != 0xF0 || message[1] != 0x7F || message[3] != 0x08 ||
        message[4] != 0x02 || message.size() != 8 + 4 * std::size_t{message[6]} ||
        message.back() != 0xF7)
        return false;
    for (std::size_t k = 0; k < message[6]; ++k) {
        const std::uint8_t* entry = message.data() + 7 + 4 * k;
        take(keyTuningMessage(entry[0], entry[1], entry[2], entry[3]));
    }
    return true;
}

}  // namespace tv
