#include "core/midi/ChordQueue.h"

#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"

namespace tv {

bool ChordQueue::queueRatio(int channel, int octave, std::uint32_t numerator,
                            std::uint32_t denominator)
{
    return queue(channel, output_.noteForRatio(octave, numerator, denominator));
}

bool ChordQueue::queueCents(int channel, int octave, double cents)
{
    return queue(channel, output_.noteForCents(octave, cents));
}

bool ChordQueue::queue(int channel, const NoteBend& pitch)
{
    if (size_ >= maxNotes || pitch.note < 0 || pitch.note > 127)
        return false;
    const auto note = static_cast<std::uint8_t>(pitch.note);
    notes_[static_cast<std::size_t>(size_++)] = {
        pitchBend(channel, pitch.bendLsb, pitch.bendMsb),
        noteOn(channel, note, static_cast<std::uint8_t>(velocity_)),
        noteOff(channel, note),
        channel & 15,
    };
    return true;
}

void ChordQueue::sendQueued(int program) const
{
    for (int i = 0; i < size_; ++i) {
        const QueuedNote& queued = notes_[static_cast<std::size_t>(i)];
        // The program change goes to the note's own channel; the lattice window queues the
        // k-th note on channel k, so this is also the queue position.
        output_.send(programChange(queued.channel, program));
        output_.send(queued.bend);
        output_.send(queued.noteOn);
    }
}

void ChordQueue::sendNoteOffs() const
{
    for (int i = 0; i < size_; ++i)
        output_.send(notes_[static_cast<std::size_t>(i)].noteOff);
}

}  // namespace tv
