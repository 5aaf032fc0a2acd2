#include "midi/MidiOutput.h"

#include "midi/MidiMessage.h"

namespace tv {

MidiOutput::MidiOutput(std::shared_ptr<MidiService> service) : service_(std::move(service)) {}

MidiOutput::~MidiOutput() { closeDevice(); }

void MidiOutput::closeDevice()
{
    players_.stopAll();
    if (service_)
        service_->close();
    clearQueue();
}

bool MidiOutput::startPlayer(std::shared_ptr<const CompiledScript> code, PlayerReporter reporter)
{
    return players_.start(std::move(code), service_, std::move(reporter));
}

void MidiOutput::clearQueue()
{
    noteQueueLength_ = 0;
    noteOffQueueLength_ = 0;
}

bool MidiOutput::queueRatio(int channel, int octave, std::uint32_t numerator,
                            std::uint32_t denominator)
{
    return queueNote(channel, noteForRatio(octave, numerator, denominator));
}

bool MidiOutput::queueCents(int channel, int octave, double cents)
{
    return queueNote(channel, noteForCents(octave, cents));
}

bool MidiOutput::queueNote(int channel, const NoteBend& pitch)
{
    if (queuedNotes() >= maxQueuedNotes || pitch.note < 0 || pitch.note > 127)
        return false;
    const auto ch = static_cast<std::uint8_t>(channel & 15);
    const auto note = static_cast<std::uint8_t>(pitch.note);
    std::uint8_t* record = noteQueue_.data() + noteQueueLength_;
    record[0] = 0xE0 + ch;
    record[1] = pitch.bendLsb;
    record[2] = pitch.bendMsb;
    record[3] = 0x90 + ch;
    record[4] = note;
    record[5] = static_cast<std::uint8_t>(velocity_);
    noteQueueLength_ += 6;
    std::uint8_t* off = noteOffQueue_.data() + noteOffQueueLength_;
    off[0] = 0x80 + ch;
    off[1] = note;
    off[2] = 0;
    noteOffQueueLength_ += 3;
    return true;
}

void MidiOutput::sendQueued(int program)
{
    for (std::uint32_t i = 0; i < noteQueueLength_; i += 6) {
        const std::uint8_t* record = noteQueue_.data() + i;
        // The program change goes to the note's own channel; the lattice window queues the
        // k-th note on channel k, so this is also the queue position.
        send(programChange(record[0] & 15, program));
        send(packMessage(record[0], record[1], record[2]));
        send(packMessage(record[3], record[4], record[5]));
    }
}

void MidiOutput::sendNoteOffs()
{
    for (std::uint32_t i = 0; i < noteOffQueueLength_; i += 3) {
        const std::uint8_t* off = noteOffQueue_.data() + i;
        send(packMessage(off[0], off[1], off[2]));
    }
}

NoteBend MidiOutput::noteForRatio(int octave, std::uint32_t numerator,
                                  std::uint32_t denominator) const
{
    return tv::noteForRatio(baseNote_, octave, numerator, denominator);
}

NoteBend MidiOutput::noteForCents(int octave, double cents) const
{
    return tv::noteForCents(baseNote_, octave, cents);
}

void MidiOutput::send(std::uint32_t packed) const
{
    if (service_)
        service_->send(packed);
}

}  // namespace tv
