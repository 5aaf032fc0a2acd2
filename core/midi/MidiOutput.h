#pragma once

#include "core/midi/MidiService.h"
#include "core/pitch/NoteBend.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace tv {

// The program's one connection to a synthesizer: the opened device, the single path by which
// every finished message reaches it, and the note and bend of a pitch above its base note.
// It knows which notes are sounding (a note-on went out and no note-off since), so that
// closing it, or a panic, leaves no note hanging on the synthesizer.
class MidiOutput {
public:
    // `service` is the opened device, or null when none could be opened (every message is
    // then dropped and everything else works as usual).
    explicit MidiOutput(std::shared_ptr<MidiService> service);
    ~MidiOutput();
    MidiOutput(const MidiOutput&) = delete;
    MidiOutput& operator=(const MidiOutput&) = delete;

    // Sends the note-off of every sounding note, then closes the device; later messages are
    // dropped. Safe to call more than once.
    void closeDevice();

    // Sends one finished message to the device (dropped when there is none). Safe from any
    // thread.
    void send(std::uint32_t packed) const;

    // The note-off of every note that is sounding.
    void silenceSounding() const;
    // "All notes off" (controller 123) on all 16 channels, then silenceSounding(): for a
    // synthesizer that ignores the controller, every note this output started still ends.
    void panic() const;
    bool sounding(int channel, int note) const;
    const std::shared_ptr<MidiService>& service() const { return service_; }

    NoteBend noteForRatio(int octave, std::uint32_t numerator, std::uint32_t denominator) const;
    NoteBend noteForCents(int octave, double cents) const;
    int baseNote() const { return baseNote_; }

private:
    void track(std::uint32_t packed) const;

    std::shared_ptr<MidiService> service_;
    int baseNote_ = 60;
    // One bit per channel and note: 16 channels of 128 notes in words of 64.
    mutable std::array<std::atomic<std::uint64_t>, 32> sounding_{};
    std::atomic<bool> closed_{false};
};

}  // namespace tv
