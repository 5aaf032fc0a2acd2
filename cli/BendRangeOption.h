#pragma once

#include "cli/CliCommand.h"
#include "core/pitch/NoteBend.h"

namespace tv::cli {

// "--bend-range N [--send-range]": the bend range the synthesizer is set to and notes are
// computed for, and whether it is sent even at the default of 2.
struct BendRangeChoice {
    int semitones = defaultBendRange;
    bool sendAlways = false;
};

// The text --help gives for the two options.
inline constexpr const char* bendRangeHelp =
    "    --bend-range N (1 to 24, default 2) computes the bends for a synthesizer that bends N\n"
    "    semitones each way; when N is not 2, or with --send-range, the range is first sent\n"
    "    to all 16 channels (registered parameter 0).\n";

// Takes both options out of `args`; false (after a usage message) for a bad N.
bool takeBendRangeOptions(Arguments& args, BendRangeChoice& choice);

}  // namespace tv::cli
