#include "core/script/ScriptWalk.h"

#include "core/midi/MidiMessage.h"
#include "core/script/ScriptStepReader.h"

#include <algorithm>
#include <array>

namespace tv {

void walkScript(const CompiledScript& code, ScriptStepHandler& handler)
{
    using Kind = ScriptStep::Kind;
    ScriptStepReader reader(code);
    std::array<std::uint32_t, maxChordNotes> first{};
    std::array<std::uint32_t, maxChordNotes> second{};
    for (;;) {
        const ScriptStep step = reader.next();
        const std::uint32_t records = std::min<std::uint32_t>(step.count, maxChordNotes);
        bool goOn = true;
        switch (step.kind) {
        case Kind::End:
        case Kind::Truncated: return;
        case Kind::Unknown: handler.unknown(step.operation); return;
        case Kind::Program:
            if (step.channel < 16 && step.program < 128)
                goOn = handler.program(programChange(step.channel, step.program));
            break;
        case Kind::ChordOn: {
            std::size_t playable = 0;
            for (std::uint32_t k = 0; k < records; ++k) {
                const std::uint8_t* r = step.records + k * noteRecordSize;
                const std::uint32_t bend = packMessage(r[0], r[1], r[2]);
                const std::uint32_t on = packMessage(r[3], r[4], r[5]);
                if (!isChannelMessage(bend) || !isChannelMessage(on))
                    continue;
                first[playable] = bend;
                second[playable] = on;
                ++playable;
            }
            goOn = handler.chordOn(std::span(first.data(), playable),
                                   std::span(second.data(), playable));
            break;
        }
        case Kind::ChordLength: {
            std::size_t playable = 0;
            for (std::uint32_t k = 0; k < records; ++k) {
                const std::uint8_t* r = step.records + k * noteOffRecordSize;
                const std::uint32_t off = packMessage(r[0], r[1], r[2]);
                if (isChannelMessage(off))
                    first[playable++] = off;
            }
            goOn = handler.chordLength(step.length, std::span(first.data(), playable));
            break;
        }
        case Kind::Rest: goOn = handler.rest(step.length); break;
        }
        if (!goOn)
            return;
    }
}

}  // namespace tv
