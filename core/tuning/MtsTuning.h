#pragma once

#include "core/midi/MtsMessages.h"
#include "core/tuning/ScriptNotes.h"
#include "core/tuning/TuningMethod.h"

#include <array>
#include <mutex>

namespace tv {

class MidiOutput;

// The MIDI Tuning Standard: every note on channel 1, its key retuned (single-note tuning
// change, real-time form) just before it sounds. Up to 128 pitches sound at once, exact to
// 100/16384 cent, with no pitch bend. A key that sounds is never retuned: a new pitch takes
// the free key nearest its own note, and its note-off goes to the key it took.
class MtsTuning : public TuningMethod {
public:
    static constexpr int channel = 0;
    static constexpr int keys = 128;

    explicit MtsTuning(const MidiOutput& output) : output_(output) {}

    int maxChordNotes() const override { return keys; }
    bool reaches(const ExactPitch& pitch) const override;
    std::optional<SoundingNote> start(const SoundRequest& request, int slot, int program) override;
    void end(const SoundingNote& note, SoundSource source) override;
    void sendScriptMessage(std::uint32_t packed, SoundSource source) override;
    void announce() override;
    void forget() override;

    // The frequency word of a pitch, with 1/1 on the output's base note.
    std::optional<MtsFrequency> word(const ExactPitch& pitch) const;

private:
    struct Key {
        SoundSource owner = nullptr;
        bool sounding = false;
    };
    // With mutex_ held: takes the free key nearest `word`'s note, retunes it and sounds it.
    std::optional<std::uint8_t> sound(const MtsFrequency& word, std::uint8_t velocity,
                                      SoundSource source);
    // With mutex_ held: ends `key` when `source` sounds it.
    void release(std::uint8_t key, SoundSource source);

    const MidiOutput& output_;
    std::mutex mutex_;
    std::array<Key, keys> keys_{};
    ScriptNotes notes_;
};

}  // namespace tv
