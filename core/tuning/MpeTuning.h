#pragma once

#include "core/pitch/NoteBend.h"
#include "core/tuning/ScriptNotes.h"
#include "core/tuning/TuningMethod.h"

#include <array>
#include <cstdint>
#include <mutex>

namespace tv {

class MidiOutput;

// MPE, lower zone: manager channel 1, member channels 2 to 16. Each note sounds on a member
// channel of its own with its own bend, at the member bend range of the output (up to 48
// semitones). A new note takes the member channel that has been free longest; with all 15
// sounding, the oldest note ends first.
class MpeTuning : public TuningMethod {
public:
    static constexpr int members = 15;
    static constexpr int firstMember = 1;

    explicit MpeTuning(const MidiOutput& output) : output_(output) {}

    int maxChordNotes() const override { return members; }
    bool reaches(const ExactPitch& pitch) const override;
    std::optional<SoundingNote> start(const SoundRequest& request, int slot, int program) override;
    void end(const SoundingNote& note, SoundSource source) override;
    void sendScriptMessage(std::uint32_t packed, SoundSource source) override;
    void announce() override;
    void forget() override;

    NoteBend noteBend(double cents) const;

private:
    struct Member {
        SoundSource owner = nullptr;
        bool sounding = false;
        std::uint8_t key = 0;
        std::uint64_t since = 0;  // when it started sounding, or was last freed
    };
    // With mutex_ held: the member channel for a new note, the oldest note ended if need be.
    int takeMember();
    // With mutex_ held.
    std::optional<SoundingNote> sound(const NoteBend& tuned, std::uint8_t velocity, int program,
                                      SoundSource source);
    void release(int channel, std::uint8_t key, SoundSource source);

    const MidiOutput& output_;
    std::mutex mutex_;
    std::array<Member, members> members_{};
    std::uint64_t clock_ = 0;
    ScriptNotes notes_;
};

}  // namespace tv
