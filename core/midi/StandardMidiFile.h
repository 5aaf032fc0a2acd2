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
    std::uint32_t message = 0;  // packed as packMessage packs it, or a longMessageEvent

    bool operator==(const TimedMidiMessage& other) const = default;
};

// The messages of a track longer than three bytes (system-exclusive ones, F0 to F7) are kept
// beside its events, and an event stands for the n-th of them by longMessageEvent(n): status
// 0xF0 with n in the upper 24 bits. Short events stay four bytes however long the track.
constexpr std::uint32_t longMessageEvent(std::uint32_t index) { return 0xF0u | (index << 8); }
constexpr bool isLongMessageEvent(std::uint32_t message) { return (message & 0xFF) == 0xF0; }
constexpr std::uint32_t longMessageIndex(std::uint32_t message) { return message >> 8; }
using LongMidiMessages = std::vector<std::vector<std::uint8_t>>;

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
// cut to the longest one. A longMessageEvent becomes a system-exclusive event: F0, the length
// of the rest as a variable-length quantity, then the bytes after F0 up to and including F7;
// it is left out like any other unfit message when `longMessages` has no such entry or the
// entry is no well-formed system-exclusive message.
std::vector<std::uint8_t> standardMidiFileBytes(std::span<const TimedMidiMessage> events,
                                                const LongMidiMessages& longMessages = {});

// Writes standardMidiFileBytes to `path` through a temporary file beside it that replaces the
// target only once it is complete: a failure leaves an existing file whole. An existing
// target that cannot be opened for writing is not replaced. The message on failure is
// midiFileOpenFailedMessage, or "Unable to write PATH" when writing or replacing fails.
FileResult writeStandardMidiFile(const std::string& path, std::span<const TimedMidiMessage> events,
                                 const LongMidiMessages& longMessages = {});

}  // namespace tv
