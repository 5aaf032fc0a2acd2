#pragma once

#include "core/tuning/SoundRequest.h"

#include <cstdint>
#include <optional>

namespace tv {

// One way of making a synthesizer sound exact pitches: it decides which channel and key a
// pitch takes and which messages tune it there. Every pitch that sounds, whoever started it,
// reaches the synthesizer through the method in use, so a method is the one place that knows
// channels, keys and tuning messages. Methods send through the MidiOutput they were made for.
//
// Calls may come from the user-interface thread and from player threads at the same time.
class TuningMethod {
public:
    virtual ~TuningMethod() = default;

    // How many notes one chord may hold under this method.
    virtual int maxChordNotes() const = 0;
    // Whether the pitch can sound at all (its note or key lies within what MIDI reaches).
    virtual bool reaches(const ExactPitch& pitch) const = 0;

    // Starts the `slot`-th note (from 0) of a chord of `request.source`: a program change to
    // `program` where the note sounds when `program` is 0..127, then whatever tunes it, then
    // its note-on. Gives where it sounds; nothing, and nothing sent, when it cannot sound.
    virtual std::optional<SoundingNote> start(const SoundRequest& request, int slot,
                                              int program) = 0;
    // Ends a note that start() gave.
    virtual void end(const SoundingNote& note, SoundSource source) = 0;

    // A message of script byte code from `source`: channel messages whose bends were written
    // for a synthesizer at the default bend range.
    virtual void sendScriptMessage(std::uint32_t packed, SoundSource source) = 0;

    // What a device needs to hear before the first note under this method (on opening, and
    // when the method or its settings change).
    virtual void announce() = 0;
    // Forgets every note it placed: all notes were ended by other means (all notes off, a new
    // device), so every key and channel is free again.
    virtual void forget() {}
};

}  // namespace tv
