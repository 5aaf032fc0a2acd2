#pragma once

#include "core/pitch/NoteBend.h"

#include <array>
#include <cstdint>

namespace tv {

class MidiOutput;

// The chord of a lattice window: up to 16 notes, each a pitch bend and a note-on on its own
// channel, with the matching note-offs, sent through one MidiOutput.
class ChordQueue {
public:
    static constexpr int maxNotes = 16;

    explicit ChordQueue(const MidiOutput& output) : output_(output) {}

    void clear() { size_ = 0; }
    // Append one note on `channel` (0..15). A 17th note, and a pitch whose note lies outside
    // 0..127, are refused: false, queue unchanged.
    bool queueRatio(int channel, int octave, std::uint32_t numerator, std::uint32_t denominator);
    bool queueCents(int channel, int octave, double cents);
    // Per queued note: program change on its channel, then its pitch bend, then its note-on.
    void sendQueued(int program) const;
    // The note-off of every queued note; the queue stays as it is.
    void sendNoteOffs() const;

    int size() const { return size_; }
    int velocity() const { return velocity_; }

private:
    struct QueuedNote {
        std::uint32_t bend;
        std::uint32_t noteOn;
        std::uint32_t noteOff;
        int channel;
    };

    bool queue(int channel, const NoteBend& pitch);

    const MidiOutput& output_;
    int velocity_ = 90;
    std::array<QueuedNote, maxNotes> notes_{};
    int size_ = 0;
};

}  // namespace tv
