#pragma once

#include "core/pitch/FileResult.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tv {

// One message of a track at its time in milliseconds from the start of the track.
struct TimedMidiMessage {
    std::uint32_t time = 0;     // ms
    std::uint32_t message = 0;  // packed as packMessage packs it

    bool operator==(const TimedMidiMessage& other) const = default;
};

// Standard MIDI Files of format 0 with one track, as recordings are saved: 120 ticks per
// quarter note and a tempo of one quarter note a second, so a tick is 1/120 s. The track
// starts with fixed meta events (SMPTE offset, tempo, 4/4 time, C major) and ends with the
// end-of-track event.

// "Unable to open PATH for writing".
std::string midiFileOpenFailedMessage(const std::string& path);

// The whole file for events in the order they are to be played (times not decreasing). The
// first event stands at tick 0; each later one's delta from the event before it is converted
// from ms to ticks and rounded on its own, so rounding differences add up along the track,
// as in files saved before. Every event carries its status byte. Only channel messages with
// data bytes below 128 can stand in a track: any other message is left out (and the next
// delta counts from the last event written), so that no stored byte code can make a file
// that readers misread. A delta too long for a variable-length quantity (over 25 days) is
// cut to the longest one.
std::vector<std::uint8_t> standardMidiFileBytes(std::span<const TimedMidiMessage> events);

// Writes standardMidiFileBytes to `path` through a temporary file beside it that replaces the
// target only once it is complete: a failure leaves an existing file whole. An existing
// target that cannot be opened for writing is not replaced. The message on failure is
// midiFileOpenFailedMessage, or "Unable to write PATH" when writing or replacing fails.
FileResult writeStandardMidiFile(const std::string& path, std::span<const TimedMidiMessage> events);

}  // namespace tv
