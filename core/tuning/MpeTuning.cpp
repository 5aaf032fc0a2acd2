#include "core/tuning/MpeTuning.h"

#include "core/midi/BendRange.h"
#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "core/midi/MtsMessages.h"

namespace tv {

NoteBend MpeTuning::noteBend(double cents) const
{
    return noteForCents(output_.baseNote(), 0, cents, output_.bendRange());
}

bool MpeTuning::reaches(const ExactPitch& pitch) const
{
    const int note = noteBend(pitch.totalCents()).note;
    return note >= 0 && note <= 127;
}

int MpeTuning::takeMember()
{
    int freeLongest = -1;
    int oldest = 0;
    for (int m = 0; m < members; ++m) {
        const Member& member = members_[static_cast<std::size_t>(m)];
        if (!member.sounding &&
            (freeLongest < 0 ||
             member.since < members_[static_cast<std::size_t>(freeLongest)].since))
            freeLongest = m;
        if (member.since < members_[static_cast<std::size_t>(oldest)].since)
            oldest = m;
    }
    if (freeLongest >= 0)
        return freeLongest;
    Member& ended = members_[static_cast<std::size_t>(oldest)];
    release(firstMember + oldest, ended.key, ended.owner);
    return oldest;
}

std::optional<SoundingNote> MpeTuning::sound(const NoteBend& tuned, std::uint8_t velocity,
                                             int program, SoundSource source)
{
    if (tuned.note < 0 || tuned.note > 127)
        return std::nullopt;
    const int m = takeMember();
    const int channel = firstMember + m;
    const auto key = static_cast<std::uint8_t>(tuned.note);
    members_[static_cast<std::size_t>(m)] = {source, true, key, ++clock_};
    if (program >= 0 && program <= 127)
        output_.send(programChange(channel, program));
    output_.send(pitchBend(channel, tuned.bendLsb, tuned.bendMsb));
    output_.send(noteOn(channel, key, velocity));
    return SoundingNote{static_cast<std::uint8_t>(channel), key};
}

void MpeTuning::release(int channel, std::uint8_t key, SoundSource source)
{
    const int m = channel - firstMember;
    if (m < 0 || m >= members)
        return;
    Member& member = members_[static_cast<std::size_t>(m)];
    if (!member.sounding || member.owner != source || member.key != key)
        return;
    member.sounding = false;
    member.since = ++clock_;
    output_.send(noteOff(channel, key));
}

std::optional<SoundingNote> MpeTuning::start(const SoundRequest& request, int, int program)
{
    const NoteBend tuned = noteBend(request.pitch.totalCents());
    std::lock_guard lock(mutex_);
    return sound(tuned, request.velocity, program, request.source);
}

void MpeTuning::end(const SoundingNote& note, SoundSource source)
{
    std::lock_guard lock(mutex_);
    release(note.channel, note.key, source);
}

void MpeTuning::sendScriptMessage(std::uint32_t packed, SoundSource source)
{
    std::lock_guard lock(mutex_);
    const auto end = [&](std::uint8_t member, std::uint8_t note) { release(member, note, source); };
    // The code's note and bend (4096 steps a semitone) give the exact pitch, which a member
    // channel bends to at the member range.
    const auto start = [&](std::uint8_t note, int bend,
                           std::uint8_t velocity) -> std::optional<std::uint8_t> {
        const NoteBend tuned =
            noteBend((note - output_.baseNote()) * 100.0 + (bend - 8192) * (100.0 / 4096.0));
        if (const auto placed = sound(tuned, velocity, -1, source))
            return static_cast<std::uint8_t>(placed->channel);
        return std::nullopt;
    };
    if (notes_.follow(packed, source, end, start))
        return;
    if ((messageStatus(packed) & 0xF0) == 0xC0) {
        // A program reaches every member channel, since any of them may play the next note.
        for (int m = 0; m < members; ++m)
            output_.send((packed & ~0x0Fu) | static_cast<std::uint32_t>(firstMember + m));
        return;
    }
    // Controllers of the zone go to its manager channel.
    output_.send(packed & ~0x0Fu);
}

void MpeTuning::announce()
{
    for (const std::uint32_t message : mpeZoneConfiguration(members))
        output_.send(message);
    // The member range, set on the first member channel, holds for the whole zone.
    for (const std::uint32_t message : bendRangeMessages(firstMember, output_.bendRange()))
        output_.send(message);
}

void MpeTuning::forget()
{
    std::lock_guard lock(mutex_);
    members_.fill({});
    notes_.clear();
}

}  // namespace tv
