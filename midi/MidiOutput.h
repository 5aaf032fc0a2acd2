#pragma once

#include "midi/MidiService.h"
#include "midi/NoteBend.h"
#include "script/PlayerThreads.h"

#include <array>
#include <cstdint>
#include <memory>

namespace tv {

// The program's one connection to a synthesizer and the note queue of the lattice window:
// up to 16 notes, each a pitch bend and note-on on its own channel, with matching note-offs.
class MidiOutput {
public:
    static constexpr int maxQueuedNotes = 16;

    // `service` is the opened device, or null when none could be opened (every message is
    // then dropped and everything else works as usual).
    explicit MidiOutput(std::shared_ptr<MidiService> service);
    ~MidiOutput();
    MidiOutput(const MidiOutput&) = delete;
    MidiOutput& operator=(const MidiOutput&) = delete;

    // Ends every script player first (sleeping players wake and stop), then closes the
    // device, so no message ever reaches a closed device.
    void closeDevice();

    // Starts a script player thread on `code` with this output's device; players share the
    // channel note table. Nothing starts for null code or after closeDevice(). `reporter`
    // gets the player's messages on the player's thread.
    bool startPlayer(std::shared_ptr<const CompiledScript> code, PlayerReporter reporter = {});
    PlayerThreads& players() { return players_; }

    void clearQueue();
    // Append one note on `channel` (0..15). A 17th note, and a pitch whose note lies outside
    // 0..127, are refused: false, queue unchanged.
    bool queueRatio(int channel, int octave, std::uint32_t numerator, std::uint32_t denominator);
    bool queueCents(int channel, int octave, double cents);
    // Per queued note: program change on its channel, then its pitch bend, then its note-on.
    void sendQueued(int program);
    // The note-off of every queued note; the queue stays as it is.
    void sendNoteOffs();

    NoteBend noteForRatio(int octave, std::uint32_t numerator, std::uint32_t denominator) const;
    NoteBend noteForCents(int octave, double cents) const;

    int baseNote() const { return baseNote_; }
    int velocity() const { return velocity_; }
    int queuedNotes() const { return static_cast<int>(noteQueueLength_ / 6); }

    // Sends one finished message to the device (dropped when there is none).
    void send(std::uint32_t packed) const;
    const std::shared_ptr<MidiService>& service() const { return service_; }

private:
    bool queueNote(int channel, const NoteBend& pitch);

    std::shared_ptr<MidiService> service_;
    int baseNote_ = 60;
    int velocity_ = 90;
    std::array<std::uint8_t, maxQueuedNotes * 6> noteQueue_{};
    std::array<std::uint8_t, maxQueuedNotes * 3> noteOffQueue_{};
    std::uint32_t noteQueueLength_ = 0;
    std::uint32_t noteOffQueueLength_ = 0;
    PlayerThreads players_;
};

}  // namespace tv
