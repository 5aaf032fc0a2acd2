#pragma once

#include "core/script/ChannelNoteTable.h"
#include "core/script/CompiledScript.h"
#include "core/script/PlayerClock.h"
#include "core/script/ScriptWalk.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace tv {

class MidiService;

// Takes a message a player has for the user ("Cannot interpret script: A (0x41)"). It is
// called on the player's thread; a window posts the text to its own thread.
using PlayerReporter = std::function<void(std::string_view message)>;

// Plays byte code into a MIDI service. A chord-on step sends, per note, a note-off for the
// note last started on its channel (from the shared table) and its pitch bend, then all the
// note-ons; a chord-length step waits until 100 ms before the chord's end, sends the chord's
// note-offs and waits until the end; a rest waits; a program step sends a program change,
// unless its channel is above 15 or its program above 127, when it sends nothing. A note
// record or note-off whose bytes are no channel message with data below 0x80 (code read from
// a file may hold any bytes) is passed over.
//
// Each wait ends at the step's due time, the start plus the lengths so far, so lateness
// never accumulates. A chord shorter than 100 ms sends its note-offs at once, and the next
// step still starts its full length after the chord began. Playing allocates nothing.
//
// A player told to stop (its clock's wait says so) ends at once, after the note-offs of the
// notes it started whose note-offs it has not yet sent, so that it leaves nothing sounding.
// Ending at the end byte or at an unknown operation leaves things as they are. The steps come
// from walkScript, which the recording's expansion shares.
class ScriptPlayer : private ScriptStepHandler {
public:
    ScriptPlayer(MidiService& service, ChannelNoteTable& channelNotes, PlayerClock& clock,
                 const PlayerReporter& reporter);

    // Plays from the first step to the end byte, an unknown operation byte (reported) or a
    // wait that the clock cuts short. Runs on the caller's thread.
    void play(const CompiledScript& code);

    static constexpr std::chrono::milliseconds releaseGap{100};

private:
    bool chordOn(std::span<const std::uint32_t> bends,
                 std::span<const std::uint32_t> noteOns) override;
    bool chordLength(std::uint32_t lengthMs, std::span<const std::uint32_t> noteOffs) override;
    bool rest(std::uint32_t lengthMs) override;
    bool program(std::uint32_t message) override;
    void unknown(std::uint8_t operation) override;
    void endSounding();

    MidiService& service_;
    ChannelNoteTable& channelNotes_;
    PlayerClock& clock_;
    const PlayerReporter& reporter_;

    PlayerTime start_{};
    std::uint64_t elapsedMs_ = 0;
    std::array<std::uint16_t, ChannelNoteTable::channels> previousNotes_{};
    // Per channel, the note this player started there and has not yet sent a note-off for.
    std::array<std::uint16_t, ChannelNoteTable::channels> sounding_{};
};

// Plays `code` synchronously on the calling thread against `clock`: the entry point for a
// player thread and for rendering a script offline with a clock whose waits render audio.
void runScript(const CompiledScript& code, MidiService& service, ChannelNoteTable& channelNotes,
               PlayerClock& clock, const PlayerReporter& reporter);

// "Cannot interpret script: %c (0x%02x)" for an operation byte, written into `buffer`
// without allocating; the view points into the buffer. Bytes that are not printable ASCII
// show as '?' before their hex value.
std::string_view uninterpretableMessage(std::uint8_t operation, std::array<char, 48>& buffer);

}  // namespace tv
