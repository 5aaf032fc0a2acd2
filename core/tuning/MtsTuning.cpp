#include "core/tuning/MtsTuning.h"

#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"

#include <cstdlib>

namespace tv {

std::optional<MtsFrequency> MtsTuning::word(const ExactPitch& pitch) const
{
    return mtsFrequency(output_.baseNote() + pitch.totalCents() * 0.01);
}

bool MtsTuning::reaches(const ExactPitch& pitch) const { return word(pitch).has_value(); }

std::optional<std::uint8_t> MtsTuning::sound(const MtsFrequency& word, std::uint8_t velocity,
                                             SoundSource source)
{
    // The free key nearest the pitch's own note: 0, +1, -1, +2, -2 ... away.
    const int home = word.note;
    int chosen = -1;
    for (int distance = 0; distance < keys && chosen < 0; ++distance) {
        for (const int key : {home + distance, home - distance}) {
            if (key >= 0 && key < keys && !keys_[static_cast<std::size_t>(key)].sounding) {
                chosen = key;
                break;
            }
        }
    }
    if (chosen < 0)
        return std::nullopt;
    const auto key = static_cast<std::uint8_t>(chosen);
    keys_[key] = {source, true};
    output_.sendBytes(singleNoteTuningChange(key, word));
    output_.send(noteOn(channel, key, velocity));
    return key;
}

void MtsTuning::release(std::uint8_t key, SoundSource source)
{
    Key& state = keys_[key & 127];
    // A key another note took since (or one already ended) is left alone.
    if (!state.sounding || state.owner != source)
        return;
    state.sounding = false;
    output_.send(noteOff(channel, key));
}

std::optional<SoundingNote> MtsTuning::start(const SoundRequest& request, int slot, int program)
{
    const auto tuned = word(request.pitch);
    if (!tuned)
        return std::nullopt;
    std::lock_guard lock(mutex_);
    // Every note shares the one channel: its program is set once per chord.
    if (slot == 0 && program >= 0 && program <= 127)
        output_.send(programChange(channel, program));
    const auto key = sound(*tuned, request.velocity, request.source);
    if (!key)
        return std::nullopt;
    return SoundingNote{channel, *key};
}

void MtsTuning::end(const SoundingNote& note, SoundSource source)
{
    std::lock_guard lock(mutex_);
    release(note.key, source);
}

void MtsTuning::sendScriptMessage(std::uint32_t packed, SoundSource source)
{
    std::lock_guard lock(mutex_);
    const auto end = [&](std::uint8_t key, std::uint8_t) { release(key, source); };
    // The code's bend is for the default range: 4096 steps a semitone.
    const auto start = [&](std::uint8_t note, int bend,
                           std::uint8_t velocity) -> std::optional<std::uint8_t> {
        if (const auto tuned = mtsFrequency(note + (bend - 8192) / 4096.0))
            return sound(*tuned, velocity, source);
        return std::nullopt;
    };
    // Programs and controllers reach the one channel every note plays on.
    if (!notes_.follow(packed, source, end, start))
        output_.send((packed & ~0x0Fu) | channel);
}

void MtsTuning::announce()
{
    for (const std::uint32_t message : tuningProgramSelection(channel))
        output_.send(message);
}

void MtsTuning::forget()
{
    std::lock_guard lock(mutex_);
    keys_.fill({});
    notes_.clear();
}

}  // namespace tv
