#include "ui/keyboard/StartedNotes.h"

#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "core/script/ScriptStepReader.h"

#include <algorithm>

namespace tv {

void StartedNotes::add(const CompiledScript& code)
{
    ScriptStepReader reader(code);
    for (;;) {
        const ScriptStep step = reader.next();
        if (step.kind == ScriptStep::Kind::End)
            return;
        if (step.kind != ScriptStep::Kind::ChordOn)
            continue;
        // A player plays only the first 16 records of a chord.
        const std::uint32_t notes = std::min<std::uint32_t>(step.count, maxChordNotes);
        for (std::uint32_t k = 0; k < notes; ++k) {
            const std::uint8_t* record = step.records + k * noteRecordSize;
            notes_.set((record[3] & 15u) * 128u + (record[4] & 127u));
        }
    }
}

bool StartedNotes::contains(int channel, int note) const
{
    if (channel < 0 || channel > 15 || note < 0 || note > 127)
        return false;
    return notes_.test(static_cast<std::size_t>(channel * 128 + note));
}

void StartedNotes::silence(const MidiOutput& output) const
{
    for (int channel = 0; channel < 16; ++channel) {
        for (int note = 0; note < 128; ++note) {
            if (contains(channel, note) && output.sounding(channel, note))
                output.send(noteOff(channel, static_cast<std::uint8_t>(note)));
        }
    }
}

}  // namespace tv
