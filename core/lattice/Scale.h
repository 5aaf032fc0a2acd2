#pragma once

#include "core/lattice/ScalaPitch.h"
#include "core/pitch/FileResult.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tv {

// A scale as read from a Scala file, before anything takes it: its description and pitches,
// and how the read ended. A failed read keeps what came before the failure.
struct Scale {
    enum class Outcome {
        ok,
        unableToOpen,    // nothing read
        invalid,         // no description and count: nothing read
        unknownFormat,   // a pitch line of no known shape; the pitches before it are kept
        endsEarly,       // fewer pitch lines than the count; all of them are kept
        tooManyPitches,  // the first maxPitches are kept
    };

    // As many as a lattice holds.
    static constexpr std::uint16_t maxPitches = 65535;

    // The description line as read, without the control characters at its end.
    std::string title;
    // Never invalid.
    std::vector<ScalaPitch> pitches;
    Outcome outcome = Outcome::ok;
    // The exact text to show the user; empty when ok.
    std::string message;
    // The file's line (from 1, comments counted) the failure is on; 0 when there is none.
    std::uint32_t line = 0;

    bool ok() const { return outcome == Outcome::ok; }
    // True once the description and the count were read: the scale then replaces a lattice's
    // elements and title even when a later line failed.
    bool hasHeader() const
    {
        return outcome != Outcome::unableToOpen && outcome != Outcome::invalid;
    }
    FileResult result() const { return {ok(), message}; }
};

}  // namespace tv
