#pragma once

#include "core/midi/MidiMessage.h"
#include "core/tuning/TuningMethod.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>

namespace tv {

// The notes and bends of script code, as a tuning method that sounds each note its own way
// follows them: per source and channel the last bend (in the default range, 4096 steps a
// semitone), and per channel and note what its note-on took to sound (a key, a channel).
// The owner holds its own lock around every call.
class ScriptNotes {
public:
    // Follows a bend, note-on or note-off. A note-off, a note-on at velocity 0, and a note-on
    // where the same note still sounds end what the earlier note-on took: `end(taken, note)`.
    // A note-on then sounds with `start(note, bend, velocity)`, `bend` the channel's last
    // (8192 for none), which gives what it took, or nothing. False for any other message,
    // which the caller sends on its own way.
    template <typename End, typename Start>
    bool follow(std::uint32_t packed, SoundSource source, End&& end, Start&& start)
    {
        const int kind = messageStatus(packed) & 0xF0;
        const int channel = messageStatus(packed) & 15;
        if (kind != 0xE0 && kind != 0x90 && kind != 0x80)
            return false;
        State& state = states_[source];
        if (kind == 0xE0) {
            state.bends[channel] = messageData1(packed) | (messageData2(packed) << 7);
            return true;
        }
        const std::uint8_t note = messageData1(packed) & 127;
        std::uint8_t& taken = state.taken[channel][note];
        if (taken != none) {
            end(taken, note);
            taken = none;
        }
        if (kind == 0x90 && messageData2(packed) != 0) {
            if (const std::optional<std::uint8_t> took =
                    start(note, state.bends[channel], messageData2(packed)))
                taken = *took;
        }
        return true;
    }

    // Every source's notes and bends forgotten.
    void clear() { states_.clear(); }

private:
    static constexpr std::uint8_t none = 0xFF;
    struct State {
        std::array<int, 16> bends;
        std::array<std::array<std::uint8_t, 128>, 16> taken;
        State()
        {
            bends.fill(8192);
            for (auto& notes : taken)
                notes.fill(none);
        }
    };
    std::map<SoundSource, State> states_;
};

}  // namespace tv
