#include "core/tuning/TunedTrack.h"

#include "core/midi/MidiOutput.h"
#include "core/midi/MidiService.h"

#include <memory>

namespace tv {
namespace {

// Keeps what the method sends at the time of the event being translated.
class TrackService : public MidiService {
public:
    explicit TrackService(TunedTrack& track) : track_(track) {}
    void send(std::uint32_t packed) override { track_.events.push_back({time, packed}); }
    void sendBytes(std::span<const std::uint8_t> message) override
    {
        const auto index = static_cast<std::uint32_t>(track_.longMessages.size());
        track_.longMessages.emplace_back(message.begin(), message.end());
        track_.events.push_back({time, longMessageEvent(index)});
    }
    std::uint32_t time = 0;

private:
    TunedTrack& track_;
};

}  // namespace

TunedTrack tuneTrack(std::span<const TimedMidiMessage> events, const TrackTuning& tuning)
{
    TunedTrack track;
    if (tuning.kind == TuningKind::Bend) {
        track.events.assign(events.begin(), events.end());
        return track;
    }
    track.events.reserve(events.size() * 2);
    auto service = std::make_shared<TrackService>(track);
    service->time = events.empty() ? 0 : events.front().time;
    {
        MidiOutput output(service);
        output.setBendRange(tuning.bendRange, false);
        PitchOutput pitches(output);
        pitches.setKind(tuning.kind);
        for (const TimedMidiMessage& event : events) {
            service->time = event.time;
            pitches.method().sendScriptMessage(event.message, nullptr);
        }
        // Leaving the scope ends what still sounds, at the last moment.
    }
    return track;
}

}  // namespace tv
