#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace tv {

// The note a script player last started on each of the 16 MIDI channels, shared by every
// player of the program so that a chord cuts off older notes on its channels. Each entry is
// read and written whole and atomically; players need no other ordering between them.
class ChannelNoteTable {
public:
    static constexpr std::uint16_t none = 0xFFFF;
    static constexpr int channels = 16;

    ChannelNoteTable();
    ChannelNoteTable(const ChannelNoteTable&) = delete;
    ChannelNoteTable& operator=(const ChannelNoteTable&) = delete;

    // Sets the channel's entry (channel taken modulo 16) and gives the one it replaced.
    std::uint16_t exchange(int channel, std::uint16_t note);
    std::uint16_t note(int channel) const;

private:
    std::array<std::atomic<std::uint16_t>, channels> entries_;
};

}  // namespace tv
