#pragma once

#include "core/midi/StandardMidiFile.h"
#include "core/pitch/FileResult.h"
#include "core/script/CompiledScript.h"
#include "core/tuning/TunedTrack.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tv {

// A press record: the key code in bits 0..7 and the ms since the recording's start in bits
// 8..31, so elapsed times run from 0 to 16,777,215 ms (about 4 h 40 min) and then start at 0
// again.
constexpr std::uint32_t pressRecord(std::uint8_t keyCode, std::uint32_t elapsedMs)
{
    return keyCode | (elapsedMs << 8);
}
constexpr std::uint8_t pressKeyCode(std::uint32_t record) { return record & 0xFF; }
constexpr std::uint32_t pressElapsed(std::uint32_t record) { return record >> 8; }

// Appends the messages that `code` sends when played from `start` (ms), at the times a player
// would send them: per note record its pitch bend and then its note-on; a chord-length step's
// note-offs after its whole length; a program step's program change. Times wrap as unsigned
// 32-bit numbers. The steps are the player's own (walkScript): what the player passes over is
// left out, and the expansion ends where the player ends, at an unknown operation byte too.
void expandScript(const CompiledScript& code, std::uint32_t start,
                  std::vector<TimedMidiMessage>& events);

// Orders events by time, keeping the order in which events of the same moment were added, so
// a note's pitch bend stays before its note-on.
void sortEvents(std::vector<TimedMidiMessage>& events);

// What the keyboard window records while Record is on: which key was pressed when. The
// window hands in its millisecond clock at each call, so the state depends on nothing else.
// Nothing is sounded or kept beyond the key codes; their scripts are looked up when saving.
class Recording {
public:
    // The code of a key's slot at the moment of saving; null for a key without code.
    using CodeForKey = std::function<std::shared_ptr<const CompiledScript>(std::uint8_t keyCode)>;

    bool isRecording() const { return recording_; }
    // The clock value at the first Record after opening or Rewind; -1 while there is none.
    std::int64_t recordStart() const { return started_ ? std::int64_t{recordStart_} : -1; }
    bool isUnsaved() const { return unsaved_; }
    const std::vector<std::uint32_t>& presses() const { return presses_; }

    // The Record button. Switching it off and on again keeps the clock of the first start,
    // so the pause stays in the saved file as silence.
    void toggleRecord(std::uint32_t nowMs);
    // Edit and Play switch recording off; the clock keeps running.
    void stopRecording() { recording_ = false; }
    // The Rewind button: an empty recording with no clock.
    void rewind();
    // A key press; recorded only while recording. Gives whether it was.
    bool recordPress(std::uint8_t keyCode, std::uint32_t nowMs);
    // A press whose elapsed time is known already (presses read from a file).
    void addPress(std::uint8_t keyCode, std::uint32_t elapsedMs);
    // A save never clears the unsaved state itself; its caller does once it succeeded.
    void markSaved() { unsaved_ = false; }

    // Every press expanded with its key's code, sorted by time.
    std::vector<TimedMidiMessage> midiEvents(const CodeForKey& codeForKey) const;
    // Writes midiEvents, as `tuning` sends them, as a Standard MIDI File; the recording stays
    // as it is.
    FileResult save(const std::string& path, const CodeForKey& codeForKey,
                    const TrackTuning& tuning = {}) const;

private:
    bool recording_ = false;
    bool started_ = false;
    std::uint32_t recordStart_ = 0;
    bool unsaved_ = false;
    std::vector<std::uint32_t> presses_;
};

}  // namespace tv
