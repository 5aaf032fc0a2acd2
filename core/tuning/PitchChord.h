#pragma once

#include "core/tuning/SoundRequest.h"

#include <vector>

namespace tv {

class PitchOutput;

// A chord played by hand (a lattice window's selection, tonalvane-cli chord): pitches added one
// by one, started together and ended together through the tuning method in use, which places
// each note. The chord is its own source of sound.
class PitchChord {
public:
    explicit PitchChord(PitchOutput& output) : output_(output) {}

    // Forgets the chord (its pitches and the notes last started); sends nothing.
    void clear();
    // Adds the next pitch. Each call takes the next place of the chord, a refused one too, so
    // the pitches after a refused one keep their places. Refused (false) when the chord is
    // full for the method or the method cannot sound the pitch.
    bool add(const ExactPitch& pitch);
    // Starts every pitch of the chord, in order, each with a program change to `program`.
    void play(int program);
    // Ends the notes the last play() started. Ending them again sends their ends again.
    void release() const;

    int size() const { return static_cast<int>(pitches_.size()); }
    static constexpr int velocity = 90;

private:
    struct Placed {
        ExactPitch pitch;
        int slot = 0;
    };

    PitchOutput& output_;
    std::vector<Placed> pitches_;
    int places_ = 0;
    std::vector<SoundingNote> sounding_;
};

}  // namespace tv
