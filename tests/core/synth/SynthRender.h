#pragma once

#include "core/midi/MidiMessage.h"
#include "core/pitch/NoteBend.h"
#include "core/synth/SynthEngine.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tv::test {

// Program 73 (Flute) is in the group that plays a pure sine.
inline constexpr int sineProgram = 73;

// Renders `frames` frames in audio-sized pieces and appends left + right of each frame.
inline void renderMono(SynthEngine& engine, std::vector<double>& mono, std::size_t frames,
                       std::size_t piece = 240)
{
    std::vector<float> buffer(2 * piece);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t count = std::min(piece, frames - done);
        engine.render(buffer.data(), count);
        for (std::size_t i = 0; i < count; ++i)
            mono.push_back(static_cast<double>(buffer[2 * i]) + buffer[2 * i + 1]);
        done += count;
    }
}

inline std::size_t framesFor(const SynthEngine& engine, double seconds)
{
    return static_cast<std::size_t>(seconds * engine.sampleRate() + 0.5);
}

// The messages that sound `numerator`/`denominator` above middle C on `channel`, as the lattice
// window and script players send them: program change, pitch bend, note-on.
inline NoteBend playRatio(SynthEngine& engine, int channel, std::uint32_t numerator,
                          std::uint32_t denominator, int program, int velocity = 90)
{
    const NoteBend pitch = noteForRatio(60, 0, numerator, denominator);
    engine.handleMessage(programChange(channel, program));
    engine.handleMessage(tv::pitchBend(channel, pitch.bendLsb, pitch.bendMsb));
    engine.handleMessage(noteOn(channel, static_cast<std::uint8_t>(pitch.note),
                                static_cast<std::uint8_t>(velocity)));
    return pitch;
}

}  // namespace tv::test
