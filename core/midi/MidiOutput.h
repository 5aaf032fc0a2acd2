#pragma once

#include "core/midi/MidiService.h"
#include "core/pitch/NoteBend.h"

#include <cstdint>
#include <memory>

namespace tv {

// The program's one connection to a synthesizer: the opened device, the single path by which
// every finished message reaches it, and the note and bend of a pitch above its base note.
class MidiOutput {
public:
    // `service` is the opened device, or null when none could be opened (every message is
    // then dropped and everything else works as usual).
    explicit MidiOutput(std::shared_ptr<MidiService> service);
    ~MidiOutput();
    MidiOutput(const MidiOutput&) = delete;
    MidiOutput& operator=(const MidiOutput&) = delete;

    // Closes the device; later messages are dropped. Safe to call more than once.
    void closeDevice();

    // Sends one finished message to the device (dropped when there is none).
    void send(std::uint32_t packed) const;
    const std::shared_ptr<MidiService>& service() const { return service_; }

    NoteBend noteForRatio(int octave, std::uint32_t numerator, std::uint32_t denominator) const;
    NoteBend noteForCents(int octave, double cents) const;
    int baseNote() const { return baseNote_; }

private:
    std::shared_ptr<MidiService> service_;
    int baseNote_ = 60;
};

}  // namespace tv
