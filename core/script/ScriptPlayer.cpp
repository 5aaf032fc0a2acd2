#include "core/script/ScriptPlayer.h"

#include "core/midi/MidiMessage.h"
#include "core/midi/MidiService.h"
#include "core/script/ScriptStepReader.h"

#include <algorithm>
#include <limits>

namespace tv {
namespace {

// Start plus a sum of step lengths, held at the end of the clock's range instead of wrapping.
PlayerTime dueTime(PlayerTime start, std::uint64_t elapsedMs)
{
    using Rep = PlayerTime::rep;
    constexpr Rep perMs = 1'000'000;
    const Rep room = std::numeric_limits<Rep>::max() - std::max<Rep>(start.count(), 0);
    if (elapsedMs > static_cast<std::uint64_t>(room / perMs))
        return PlayerTime::max();
    return start + PlayerTime(static_cast<Rep>(elapsedMs) * perMs);
}

}  // namespace

std::string_view uninterpretableMessage(std::uint8_t operation, std::array<char, 48>& buffer)
{
    static constexpr std::string_view prefix = "Cannot interpret script: ";
    static constexpr char digits[] = "0123456789abcdef";
    std::size_t n = 0;
    for (const char c : prefix)
        buffer[n++] = c;
    buffer[n++] = operation >= 0x20 && operation < 0x7F ? static_cast<char>(operation) : '?';
    for (const char c : std::string_view(" (0x"))
        buffer[n++] = c;
    buffer[n++] = digits[operation >> 4];
    buffer[n++] = digits[operation & 15];
    buffer[n++] = ')';
    return std::string_view(buffer.data(), n);
}

ScriptPlayer::ScriptPlayer(MidiService& service, ChannelNoteTable& channelNotes, PlayerClock& clock,
                           const PlayerReporter& reporter)
    : service_(service), channelNotes_(channelNotes), clock_(clock), reporter_(reporter)
{
    sounding_.fill(ChannelNoteTable::none);
}

void ScriptPlayer::play(const CompiledScript& code)
{
    ScriptStepReader reader(code);
    const PlayerTime start = clock_.now();
    std::uint64_t elapsedMs = 0;
    for (;;) {
        const ScriptStep step = reader.next();
        switch (step.kind) {
        case ScriptStep::Kind::End:
        case ScriptStep::Kind::Truncated: return;
        case ScriptStep::Kind::Unknown: report(step.operation); return;
        case ScriptStep::Kind::Program:
            // Code from elsewhere may name a channel or program that MIDI does not have; such
            // a step is passed over rather than sent as some other program on some other
            // channel.
            if (step.channel < 16 && step.program < 128)
                service_.send(programChange(step.channel, step.program));
            break;
        case ScriptStep::Kind::ChordOn: startChord(step); break;
        case ScriptStep::Kind::Rest:
            elapsedMs += step.length;
            if (!clock_.waitUntil(dueTime(start, elapsedMs))) {
                endSounding();
                return;
            }
            break;
        case ScriptStep::Kind::ChordLength: {
            const std::uint64_t chordStart = elapsedMs;
            elapsedMs += step.length;
            const std::uint64_t gap = static_cast<std::uint64_t>(releaseGap.count());
            const std::uint64_t release = step.length >= gap ? elapsedMs - gap : chordStart;
            if (!clock_.waitUntil(dueTime(start, release))) {
                endSounding();
                return;
            }
            // Only the notes this player started: at most one per channel.
            const std::uint32_t notes = std::min<std::uint32_t>(step.count, maxChordNotes);
            for (std::uint32_t k = 0; k < notes; ++k) {
                const std::uint8_t* off = step.records + k * noteOffRecordSize;
                const std::uint32_t message = packMessage(off[0], off[1], off[2]);
                if (isChannelMessage(message))
                    service_.send(message);
            }
            sounding_.fill(ChannelNoteTable::none);
            if (!clock_.waitUntil(dueTime(start, elapsedMs)))
                return;
            break;
        }
        }
    }
}

void ScriptPlayer::startChord(const ScriptStep& step)
{
    // Records past the 16th have no channel of their own; they are not played.
    const std::uint32_t notes = std::min<std::uint32_t>(step.count, maxChordNotes);
    previousNotes_.fill(ChannelNoteTable::none);
    std::uint32_t playing = 0;
    for (std::uint32_t k = 0; k < notes; ++k) {
        const std::uint8_t* record = step.records + k * noteRecordSize;
        const std::uint32_t bend = packMessage(record[0], record[1], record[2]);
        const std::uint32_t on = packMessage(record[3], record[4], record[5]);
        // Code from elsewhere may hold bytes MIDI cannot carry: such a record is not played.
        if (!isChannelMessage(bend) || !isChannelMessage(on))
            continue;
        const int channel = record[0] & 15;
        previousNotes_[channel] = channelNotes_.exchange(channel, record[4]);
        bends_[playing] = bend;
        noteOns_[playing] = on;
        ++playing;
    }
    for (std::uint32_t k = 0; k < playing; ++k) {
        const int channel = messageStatus(noteOns_[k]) & 15;
        if (previousNotes_[channel] != ChannelNoteTable::none)
            service_.send(noteOff(channel, static_cast<std::uint8_t>(previousNotes_[channel])));
        service_.send(bends_[k]);
    }
    for (std::uint32_t k = 0; k < playing; ++k) {
        service_.send(noteOns_[k]);
        sounding_[messageStatus(noteOns_[k]) & 15] = messageData1(noteOns_[k]);
    }
}

void ScriptPlayer::endSounding()
{
    for (int channel = 0; channel < ChannelNoteTable::channels; ++channel) {
        if (sounding_[channel] != ChannelNoteTable::none)
            service_.send(noteOff(channel, static_cast<std::uint8_t>(sounding_[channel])));
    }
    sounding_.fill(ChannelNoteTable::none);
}

void ScriptPlayer::report(std::uint8_t operation)
{
    if (!reporter_)
        return;
    std::array<char, 48> buffer{};
    reporter_(uninterpretableMessage(operation, buffer));
}

void runScript(const CompiledScript& code, MidiService& service, ChannelNoteTable& channelNotes,
               PlayerClock& clock, const PlayerReporter& reporter)
{
    ScriptPlayer player(service, channelNotes, clock, reporter);
    player.play(code);
}

}  // namespace tv
