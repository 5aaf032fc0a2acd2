#pragma once

#include "core/midi/StandardMidiFile.h"
#include "core/pitch/NoteBend.h"
#include "core/tuning/PitchOutput.h"

#include <span>

namespace tv {

// How a saved track is to be tuned: the method and the bend range it is played with.
struct TrackTuning {
    TuningKind kind = TuningKind::Bend;
    int bendRange = defaultBendRange;
};

// The messages of script code (channels, and bends for the default range) at their times, as
// the method sends them: under a channel per pitch with its bend they stay exactly as they are;
// under the other methods each goes through the method at its moment, so a tuning message
// stands at the same time as its note-on and before it, and the method's announcement opens
// the track at the time of the first event.
struct TunedTrack {
    std::vector<TimedMidiMessage> events;
    LongMidiMessages longMessages;
};
TunedTrack tuneTrack(std::span<const TimedMidiMessage> events, const TrackTuning& tuning);

}  // namespace tv
