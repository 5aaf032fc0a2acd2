#pragma once

#include "core/pitch/NoteBend.h"
#include "core/tuning/TuningMethod.h"

namespace tv {

class MidiOutput;

// A channel per pitch with its own pitch bend: the k-th note of a chord sounds on MIDI channel
// k as the equal-tempered note at or below it, bent to the exact pitch at the bend range of
// the output. Up to 16 pitches sound at once, on any synthesizer that takes a bend per
// channel. Script code already holds channels and bends; its bends are rewritten for the range
// in use.
class BendTuning : public TuningMethod {
public:
    static constexpr int channels = 16;

    explicit BendTuning(const MidiOutput& output) : output_(output) {}

    int maxChordNotes() const override { return channels; }
    bool reaches(const ExactPitch& pitch) const override;
    std::optional<SoundingNote> start(const SoundRequest& request, int slot, int program) override;
    void end(const SoundingNote& note, SoundSource source) override;
    void sendScriptMessage(std::uint32_t packed, SoundSource source) override;
    void announce() override;

    // The note and bend that sound `pitch` at the range in use.
    NoteBend noteBend(const ExactPitch& pitch) const;

private:
    const MidiOutput& output_;
};

}  // namespace tv
