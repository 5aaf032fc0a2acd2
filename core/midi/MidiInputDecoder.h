#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tv {

// Turns the bytes a MIDI input delivers, in reads of any size, into the channel messages they
// carry (status 0x80 to 0xEF), each packed as packMessage packs it. Running status is
// followed; a message split between reads is completed by the next read; real-time bytes
// (F8 to FF) may stand anywhere, even inside a message, and are passed over; system-exclusive
// and system common messages are passed over and end running status, so the data bytes after
// them are stray, as are data bytes before the first status byte. A status byte that cuts a
// message short drops it.
class MidiInputDecoder {
public:
    // Appends the messages completed by `bytes` to `messages`.
    void decode(const std::uint8_t* bytes, std::size_t count, std::vector<std::uint32_t>& messages);
    // Forgets a message in progress and the running status: for a new input.
    void reset();

private:
    std::uint8_t status_ = 0;  // the running status, 0 when there is none
    std::uint8_t data_[2] = {0, 0};
    int have_ = 0;      // data bytes of the current message so far
    int needed_ = 0;    // data bytes the status takes
    int skipping_ = 0;  // data bytes of a system common message still to pass over
    bool inSysex_ = false;
};

// Whether a decoded message ends a note: a note-off, or a note-on of velocity 0.
bool endsNote(std::uint32_t packed);

}  // namespace tv
