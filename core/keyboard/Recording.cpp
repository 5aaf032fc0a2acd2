#include "core/keyboard/Recording.h"

#include "core/midi/MidiMessage.h"
#include "core/script/ScriptWalk.h"

#include <algorithm>
#include <array>
#include <optional>

namespace tv {

namespace {

// The recording's timing: each step's messages at the moment a player would send them, a
// chord's note-offs after its whole length.
class Expansion : public ScriptStepHandler {
public:
    Expansion(std::uint32_t start, std::vector<TimedMidiMessage>& events)
        : time_(start), events_(events)
    {
    }

    bool chordOn(std::span<const std::uint32_t> bends,
                 std::span<const std::uint32_t> noteOns) override
    {
        for (std::size_t k = 0; k < noteOns.size(); ++k) {
            events_.push_back({time_, bends[k]});
            events_.push_back({time_, noteOns[k]});
        }
        return true;
    }
    bool chordLength(std::uint32_t lengthMs, std::span<const std::uint32_t> noteOffs) override
    {
        time_ += lengthMs;
        for (const std::uint32_t off : noteOffs)
            events_.push_back({time_, off});
        return true;
    }
    bool rest(std::uint32_t lengthMs) override
    {
        time_ += lengthMs;
        return true;
    }
    bool program(std::uint32_t message) override
    {
        events_.push_back({time_, message});
        return true;
    }
    void unknown(std::uint8_t) override {}

private:
    std::uint32_t time_;  // wraps as an unsigned 32-bit number
    std::vector<TimedMidiMessage>& events_;
};

}  // namespace

void expandScript(const CompiledScript& code, std::uint32_t start,
                  std::vector<TimedMidiMessage>& events)
{
    Expansion expansion(start, events);
    walkScript(code, expansion);
}

void sortEvents(std::vector<TimedMidiMessage>& events)
{
    std::stable_sort(
        events.begin(), events.end(),
        [](const TimedMidiMessage& a, const TimedMidiMessage& b) { return a.time < b.time; });
}

void Recording::toggleRecord(std::uint32_t nowMs)
{
    recording_ = !recording_;
    if (recording_ && !started_) {
        started_ = true;
        recordStart_ = nowMs;
    }
}

void Recording::rewind()
{
    unsaved_ = false;
    recording_ = false;
    started_ = false;
    recordStart_ = 0;
    presses_.clear();
}

bool Recording::recordPress(std::uint8_t keyCode, std::uint32_t nowMs)
{
    if (!recording_)
        return false;
    // Unsigned: a clock that wraps between start and press still gives the elapsed time.
    addPress(keyCode, nowMs - recordStart_);
    return true;
}

void Recording::addPress(std::uint8_t keyCode, std::uint32_t elapsedMs)
{
    unsaved_ = true;
    presses_.push_back(pressRecord(keyCode, elapsedMs));
}

std::vector<TimedMidiMessage> Recording::midiEvents(const CodeForKey& codeForKey) const
{
    // Each key's code is expanded once, from time 0; a press then adds its time to every
    // event, which in unsigned arithmetic gives the times of expanding from the press itself.
    std::array<std::optional<std::vector<TimedMidiMessage>>, 256> keyEvents;
    std::size_t total = 0;
    for (const std::uint32_t press : presses_) {
        auto& expanded = keyEvents[pressKeyCode(press)];
        if (!expanded) {
            expanded.emplace();
            if (const auto code = codeForKey(pressKeyCode(press)))
                expandScript(*code, 0, *expanded);
        }
        total += expanded->size();
    }

    std::vector<TimedMidiMessage> events;
    events.reserve(total);
    for (const std::uint32_t press : presses_) {
        const std::uint32_t start = pressElapsed(press);
        for (const TimedMidiMessage& event : *keyEvents[pressKeyCode(press)])
            events.push_back({start + event.time, event.message});
    }
    sortEvents(events);
    return events;
}

FileResult Recording::save(const std::string& path, const CodeForKey& codeForKey,
                           const TrackTuning& tuning) const
{
    if (tuning.kind == TuningKind::Bend)
        return writeStandardMidiFile(path, midiEvents(codeForKey));
    const TunedTrack track = tuneTrack(midiEvents(codeForKey), tuning);
    return writeStandardMidiFile(path, track.events, track.longMessages);
}

}  // namespace tv
