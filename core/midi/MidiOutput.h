#pragma once

#include "core/midi/MidiService.h"
#include "core/pitch/NoteBend.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

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
    // After closeDevice(): goes on over `service` (null for none) with nothing sounding, so
    // that everyone who holds this output keeps it when the device changes. No other thread
    // may send while it runs.
    void reopen(std::shared_ptr<MidiService> service);

    // Sends one finished message to the device (dropped when there is none). Safe from any
    // thread.
    void send(std::uint32_t packed) const;
    // Sends a message of any length (a system-exclusive one) as it is; dropped when there is
    // no device. Safe from any thread.
    void sendBytes(std::span<const std::uint8_t> message) const;

    // The note-off of every note that is sounding.
    void silenceSounding() const;
    // "All notes off" (controller 123) on all 16 channels, then silenceSounding(): for a
    // synthesizer that ignores the controller, every note this output started still ends.
    void panic() const;
    bool sounding(int channel, int note) const;
    const std::shared_ptr<MidiService>& service() const { return service_; }

    int baseNote() const { return baseNote_; }

    // The bend range (semitones, 1..48; above 24 for MPE only) that notes are computed for, and
    // whether the range is sent to the synthesizer even at the default of 2.
    int bendRange() const { return bendRange_.load(std::memory_order_relaxed); }
    bool sendsBendRange() const { return sendRange_.load(std::memory_order_relaxed); }
    // Takes a new range (held to 1..48) and sends it when sendingBendRange() says so.
    void setBendRange(int semitones, bool sendAlways);
    // Whether the synthesizer is told the range: when it is not the default, or when asked.
    bool sendingBendRange() const;
    // The range to each of the 16 channels (registered parameter 0), when sendingBendRange():
    // for a device that has just been opened.
    void announceBendRange() const;

private:
    void track(std::uint32_t packed) const;

    std::shared_ptr<MidiService> service_;
    int baseNote_ = 60;
    std::atomic<int> bendRange_{defaultBendRange};
    std::atomic<bool> sendRange_{false};
    // One bit per channel and note: 16 channels of 128 notes in words of 64.
    mutable std::array<std::atomic<std::uint64_t>, 32> sounding_{};
    std::atomic<bool> closed_{false};
};

}  // namespace tv
