#pragma once

#include <bitset>

namespace tv {

class CompiledScript;
class MidiOutput;

// The notes that a window's players may have started: every note-on of every script it
// played. A player that is stopped mid-chord never sends its note-offs, so when a window
// stops its players it ends those of its notes that still sound.
class StartedNotes {
public:
    void add(const CompiledScript& code);
    bool contains(int channel, int note) const;
    // Sends a note-off for each of these notes that the output knows to be sounding.
    void silence(const MidiOutput& output) const;
    void clear() { notes_.reset(); }

private:
    std::bitset<16 * 128> notes_;
};

}  // namespace tv
