#pragma once

#include "core/tuning/MidiKeyboardPlayer.h"

namespace tv {

class PitchOutput;

// The keyboard's notes through the tuning method in use: slot k is the method's k-th note, the
// keyboard is the notes' source, and the bend a method tunes with is reported so that the
// keyboard's own bend can be added to it. As many notes as the method takes at once.
class TuningMethodVoices : public KeyboardVoices {
public:
    explicit TuningMethodVoices(PitchOutput& output) : output_(output) {}

    int polyphony() const override;
    std::optional<KeyboardVoice> start(const KeyPitch& pitch, std::uint8_t velocity,
                                       int slot) override;
    void end(const KeyboardVoice& voice) override;
    void send(std::uint32_t packed) override;

private:
    PitchOutput& output_;
};

}  // namespace tv
