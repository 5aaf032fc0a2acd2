#include "core/keyboard/Recording.h"

#include "core/midi/MidiMessage.h"
#include "core/script/ScriptStepReader.h"

#include <algorithm>
#include <array>
#include <optional>

namespace tv {

void expandScript(const CompiledScript& code, std::uint32_t start,
                  std::vector<TimedMidiMessage>& events)
{
    using Kind = ScriptStep::Kind;
    ScriptStepReader reader(code);
    std::uint32_t time = start;
    for (;;) {
        const ScriptStep step = reader.next();
        switch (step.kind) {
        case Kind::ChordOn:
            for (std::uint32_t k = 0; k < step.count; ++k) {
                const std::uint8_t* r = step.records + k * noteRecordSize;
                const std::uint32_t bend = packMessage(r[0], r[1], r[2]);
                const std::uint32_t on = packMessage(r[3], r[4], r[5]);
                // As the player: a record MIDI cannot carry is not played.
                if (isChannelMessage(bend) && isChannelMessage(on)) {
                    events.push_back({time, bend});
                    events.push_back({time, on});
                }
            }
            break;
        case Kind::ChordLength:
            time += step.length;
            for (std::uint32_t k = 0; k < step.count; ++k) {
                const std::uint8_t* r = step.records + k * noteOffRecordSize;
                const std::uint32_t off = packMessage(r[0], r[1], r[2]);
                if (isChannelMessage(off))
                    events.push_back({time, off});
            }
            break;
        case Kind::Rest: time += step.length; break;
        case Kind::Program:
            if (step.channel <= 15 && step.program <= 127)
                events.push_back({time, programChange(step.channel, step.program)});
            break;
        case Kind::Unknown: break;
        case Kind::End:
        case Kind::Truncated: return;
        }
    }
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

FileResult Recording::save(const std::string& path, const CodeForKey& codeForKey) const
{
    return writeStandardMidiFile(path, midiEvents(codeForKey));
}

}  // namespace tv
