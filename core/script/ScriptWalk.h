#pragma once

#include "core/script/CompiledScript.h"

#include <cstdint>
#include <span>

namespace tv {

// What a walk through byte code meets, step by step. Each step arrives as the finished
// messages that MIDI can carry; timing is the receiver's own (a player sleeps, the recording's
// expansion adds lengths to a clock). A step that gives false ends the walk there.
class ScriptStepHandler {
public:
    virtual ~ScriptStepHandler() = default;

    // A chord starts: per playable note record, its pitch bend and its note-on, in record
    // order (at most 16).
    virtual bool chordOn(std::span<const std::uint32_t> bends,
                         std::span<const std::uint32_t> noteOns) = 0;
    // The chord sounds `lengthMs`, then ends with these note-offs (at most 16).
    virtual bool chordLength(std::uint32_t lengthMs, std::span<const std::uint32_t> noteOffs) = 0;
    virtual bool rest(std::uint32_t lengthMs) = 0;
    // A program change on a channel MIDI has, to a program it has.
    virtual bool program(std::uint32_t message) = 0;
    // An operation byte no step starts with; the walk ends after it.
    virtual void unknown(std::uint8_t operation) = 0;
};

// Walks `code` from its first step to its end byte, to where it is cut short, to an unknown
// operation byte (reported, then the walk ends: code past an unknown byte is not byte code this
// program wrote, so nothing after it is played or recorded), or to a step the handler refuses.
// Only what MIDI can carry is handed on: a note record or note-off that is no channel message
// with data below 0x80 is passed over (code read from a file may hold any bytes), as are note
// records past the 16th, which have no channel of their own, and program steps whose channel
// is above 15 or whose program is above 127. Walking allocates nothing.
void walkScript(const CompiledScript& code, ScriptStepHandler& handler);

}  // namespace tv
