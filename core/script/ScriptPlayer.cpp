#include "core/script/ScriptPlayer.h"

#include "core/midi/MidiMessage.h"
#include "core/midi/MidiService.h"

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
    start_ = clock_.now();
    elapsedMs_ = 0;
    walkScript(code, *this);
}

bool ScriptPlayer::program(std::uint32_t message)
{
    service_.send(message);
    return true;
}

bool ScriptPlayer::rest(std::uint32_t lengthMs)
{
    elapsedMs_ += lengthMs;
    if (clock_.waitUntil(dueTime(start_, elapsedMs_)))
        return true;
    endSounding();
    return false;
}

bool ScriptPlayer::chordLength(std::uint32_t lengthMs, std::span<const std::uint32_t> noteOffs)
{
    const std::uint64_t chordStart = elapsedMs_;
    elapsedMs_ += lengthMs;
    const std::uint64_t gap = static_cast<std::uint64_t>(releaseGap.count());
    const std::uint64_t release = lengthMs >= gap ? elapsedMs_ - gap : chordStart;
    if (!clock_.waitUntil(dueTime(start_, release))) {
        endSounding();
        return false;
    }
    // Only the notes this player started: at most one per channel.
    for (const std::uint32_t off : noteOffs)
        service_.send(off);
    sounding_.fill(ChannelNoteTable::none);
    return clock_.waitUntil(dueTime(start_, elapsedMs_));
}

bool ScriptPlayer::chordOn(std::span<const std::uint32_t> bends,
                           std::span<const std::uint32_t> noteOns)
{
    previousNotes_.fill(ChannelNoteTable::none);
    for (const std::uint32_t on : noteOns) {
        const int channel = messageStatus(on) & 15;
        previousNotes_[channel] = channelNotes_.exchange(channel, messageData1(on));
    }
    for (std::size_t k = 0; k < noteOns.size(); ++k) {
        const int channel = messageStatus(noteOns[k]) & 15;
        if (previousNotes_[channel] != ChannelNoteTable::none)
            service_.send(noteOff(channel, static_cast<std::uint8_t>(previousNotes_[channel])));
        service_.send(bends[k]);
    }
    for (const std::uint32_t on : noteOns) {
        service_.send(on);
        sounding_[messageStatus(on) & 15] = messageData1(on);
    }
    return true;
}

void ScriptPlayer::endSounding()
{
    for (int channel = 0; channel < ChannelNoteTable::channels; ++channel) {
        if (sounding_[channel] != ChannelNoteTable::none)
            service_.send(noteOff(channel, static_cast<std::uint8_t>(sounding_[channel])));
    }
    sounding_.fill(ChannelNoteTable::none);
}

void ScriptPlayer::unknown(std::uint8_t operation)
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
