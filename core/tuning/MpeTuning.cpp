#include "core/tuning/MpeTuning.h"

#include "core/midi/BendRange.h"
#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "core/midi/MtsMessages.h"

namespace tv {
namespace {

constexpr std::uint8_t noMember = 0xFF;

}  // namespace

MpeTuning::ScriptState::ScriptState()
{
    bends.fill(8192);
    for (auto& notes : channels)
        notes.fill(noMember);
}

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
    const std::uint8_t status = messageStatus(packed);
    const int kind = status & 0xF0;
    const int from = status & 15;
    std::lock_guard lock(mutex_);
    ScriptState& state = scripts_[source];
    switch (kind) {
    case 0xE0: state.bends[from] = messageData1(packed) | (messageData2(packed) << 7); return;
    case 0x90:
    case 0x80: {
        const std::uint8_t note = messageData1(packed) & 127;
        std::uint8_t& member = state.channels[from][note];
        if (member != noMember) {
            release(member, note, source);
            member = noMember;
        }
        if (kind == 0x90 && messageData2(packed) != 0) {
            // The code's note and bend (4096 steps a semitone) give the exact pitch, which
            // the member channel bends to at the member range.
            const double cents =
                (note - output_.baseNote()) * 100.0 + (state.bends[from] - 8192) * (100.0 / 4096.0);
            const NoteBend tuned = noteBend(cents);
            if (const auto placed = sound(tuned, messageData2(packed), -1, source))
                member = placed->channel;
        }
        return;
    }
    case 0xC0:
        // A program reaches every member channel, since any of them may play the next note.
        for (int m = 0; m < members; ++m)
            output_.send((packed & ~0x0Fu) | static_cast<std::uint32_t>(firstMember + m));
        return;
    default:
        // Controllers of the zone go to its manager channel.
        output_.send(packed & ~0x0Fu);
        return;
    }
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
    scripts_.clear();
}

}  // namespace tv
