#pragma once

#include <cstdint>
#include <span>

namespace tv {

// Where finished MIDI messages go: a hardware or software port, the built-in synthesizer, a
// log, or a capture in tests. Both sends must be safe to call from the user-interface thread
// and from player threads at the same time.
class MidiService {
public:
    virtual ~MidiService() = default;
    // A short message (up to three bytes), packed as packMessage packs it: the fast path.
    virtual void send(std::uint32_t packed) = 0;
    // A message of any length, exactly as it goes on the wire: a system-exclusive message from
    // its F0 to its F7. A service that cannot use a message passes over it.
    virtual void sendBytes(std::span<const std::uint8_t> message) = 0;
    // Closes the underlying device; later sends are dropped.
    virtual void close() {}
};

}  // namespace tv
