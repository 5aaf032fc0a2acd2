#pragma once

#include "cli/CliCommand.h"
#include "core/pitch/NoteBend.h"
#include "core/tuning/PitchOutput.h"

namespace tv::cli {

// "--tuning bend|mts|mpe --bend-range N [--send-range]": how pitches are tuned, the bend range
// the synthesizer is set to and notes are computed for, and whether it is sent even at the
// default of 2.
struct BendRangeChoice {
    int semitones = defaultBendRange;
    bool sendAlways = false;
    TuningKind tuning = TuningKind::Bend;
};

// The text --help gives for the options.
inline constexpr const char* bendRangeHelp =
    "    --tuning bend|mts|mpe chooses how pitches are tuned: bend (default) sends each note on\n"
    "    a channel of its own with its pitch bend; mts retunes each note's key with a MIDI\n"
    "    Tuning Standard message on one channel; mpe plays an MPE lower zone, a member channel\n"
    "    per note.\n"
    "    --bend-range N (1 to 24, to 48 with mpe; default 2) computes the bends for a\n"
    "    synthesizer that bends N semitones each way; when N is not 2, or with --send-range,\n"
    "    the range is first sent to all 16 channels (registered parameter 0).\n";

// Takes the options out of `args`; false (after a usage message) for a bad word or N.
bool takeBendRangeOptions(Arguments& args, BendRangeChoice& choice);

}  // namespace tv::cli
