#pragma once

#include "core/tuning/TuningMethod.h"

#include <memory>
#include <optional>
#include <string_view>

namespace tv {

class MidiOutput;

// The ways of tuning the program offers.
enum class TuningKind { Bend, Mts, Mpe };

// The word that names a method on the command line and in the settings store ("bend", "mts",
// "mpe"), and the method a word names.
std::string_view tuningWord(TuningKind kind);
std::optional<TuningKind> tuningKindForWord(std::string_view word);

// The one path from what should sound to the MIDI output: the tuning method in use over the
// program's output. Lattice chords, script players and the command line all send their
// pitches through it. It lives as long as the output it was made for.
class PitchOutput {
public:
    // Starts with one channel per pitch and its bend.
    explicit PitchOutput(MidiOutput& output);
    ~PitchOutput();
    PitchOutput(const PitchOutput&) = delete;
    PitchOutput& operator=(const PitchOutput&) = delete;

    MidiOutput& midi() const { return output_; }
    TuningMethod& method() const { return *method_; }
    TuningKind kind() const { return kind_; }

    // Puts another method in use and announces it to the device. No other thread may send
    // while it runs (the program stops its players first).
    void setKind(TuningKind kind);
    // "All notes off" on every channel, the note-off of every sounding note, and every key
    // and channel of the method free again.
    void panic();

private:
    MidiOutput& output_;
    TuningKind kind_ = TuningKind::Bend;
    std::unique_ptr<TuningMethod> method_;
};

}  // namespace tv
