#pragma once

#include <cstdint>

namespace tv {

// Where finished MIDI messages go: a hardware or software port, the built-in synthesizer, a
// log, or a capture in tests. `send` must be safe to call from the user-interface thread and
// from player threads at the same time.
class MidiService {
public:
    virtual ~MidiService() = default;
    virtual void send(std::uint32_t packed) = 0;
    // Closes the underlying device; later sends are dropped.
    virtual void close() {}
};

}  // namespace tv
