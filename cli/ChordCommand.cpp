#include "cli/BendRangeOption.h"
#include "cli/CliCommand.h"
#include "cli/PitchArgument.h"
#include "core/midi/MidiOutput.h"
#include "core/tuning/BendTuning.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"
#include "platform/midi/MidiDevices.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace tv::cli {
namespace {

int chord(const Arguments& given)
{
    Arguments args = given;
    long long program = 0;
    long long hold = 1000;
    BendRangeChoice range;
    if (!takeIntOption(args, "--program", program, 0, 127) ||
        !takeIntOption(args, "--hold", hold, 0, 3600000) || !takeBendRangeOptions(args, range))
        return exitUsage;
    if (args.empty())
        return usageError("chord needs at least one pitch");
    if (range.tuning == TuningKind::Bend && args.size() > BendTuning::channels)
        return usageError("a chord has at most 16 pitches, one per MIDI channel");

    std::vector<PitchArgument> pitches;
    for (const auto& text : args) {
        std::string reason;
        const auto pitch = parsePitch(text, reason);
        if (!pitch)
            return usageError(reason);
        pitches.push_back(*pitch);
    }

    std::string error;
    MidiOutput output(openMidiOutput(error));
    const char* choice = std::getenv("TONALVANE_MIDI_OUT");
    const bool deviceWanted = !(choice && std::string(choice) == "none");
    if (!error.empty())
        std::cerr << "tonalvane-cli: " << error << '\n';
    if (!output.service()) {
        if (error.empty())
            std::cerr << "tonalvane-cli: no MIDI output device (TONALVANE_MIDI_OUT=none)\n";
        return exitFailed;
    }

    // The range reaches every channel before the first note.
    output.setBendRange(range.semitones, range.sendAlways);
    // Played as a lattice window plays its selection, through the tuning method chosen.
    PitchOutput pitchOutput(output);
    pitchOutput.setKind(range.tuning);
    PitchChord chord(pitchOutput);
    for (std::size_t k = 0; k < pitches.size(); ++k) {
        const auto& p = pitches[k];
        if (!chord.add(p.isRatio ? ExactPitch::ratio(p.numerator, p.denominator)
                                 : ExactPitch::centsAbove(p.cents))) {
            if (static_cast<int>(k) >= pitchOutput.method().maxChordNotes())
                return usageError("a chord has at most " +
                                  std::to_string(pitchOutput.method().maxChordNotes()) +
                                  " pitches under this tuning");
            return usageError("'" + args[k] + "' lies outside the MIDI note range");
        }
    }
    chord.play(static_cast<int>(program));
    std::this_thread::sleep_for(std::chrono::milliseconds(hold));
    chord.release();
    output.closeDevice();
    return error.empty() || !deviceWanted ? exitOk : exitFailed;
}

const std::string chordHelp =
    std::string(
        "    Plays the pitches together on MIDI device 0, one channel each, as a lattice window\n"
        "    does: PITCH is a ratio N/D or cents such as -50c. Program P (default 0) is sent\n"
        "    first on every channel; the notes sound for MS milliseconds (default 1000).\n") +
    bendRangeHelp;

const CliRegistration chordRegistration({
    "chord",
    "chord PITCH... [--program P] [--hold MS] [--tuning bend|mts|mpe] [--bend-range N "
    "[--send-range]]",
    chordHelp.c_str(),
    20,
    &chord,
});

int ports(const Arguments& args)
{
    if (!args.empty())
        return usageError("ports takes no arguments");
    for (const auto& output : listMidiOutputs())
        std::cout << output.name << '\n';
    return exitOk;
}

const CliRegistration portsRegistration({
    "ports",
    "ports",
    "    Lists the MIDI outputs in order, device 0 first, one per line.\n",
    30,
    &ports,
});

}  // namespace
}  // namespace tv::cli
