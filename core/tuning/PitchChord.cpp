#include "core/tuning/PitchChord.h"

#include "core/tuning/PitchOutput.h"
#include "core/tuning/TuningMethod.h"

namespace tv {

void PitchChord::clear()
{
    pitches_.clear();
    sounding_.clear();
    places_ = 0;
}

bool PitchChord::add(const ExactPitch& pitch)
{
    const int slot = places_++;
    const TuningMethod& method = output_.method();
    if (slot >= method.maxChordNotes() || !method.reaches(pitch))
        return false;
    pitches_.push_back({pitch, slot});
    return true;
}

void PitchChord::play(int program)
{
    sounding_.clear();
    TuningMethod& method = output_.method();
    for (const Placed& placed : pitches_) {
        const SoundRequest request{placed.pitch, velocity, this};
        if (const auto note = method.start(request, placed.slot, program))
            sounding_.push_back(*note);
    }
}

void PitchChord::release() const
{
    TuningMethod& method = output_.method();
    for (const SoundingNote& note : sounding_)
        method.end(note, this);
}

}  // namespace tv
