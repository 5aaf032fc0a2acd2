#pragma once

#include "core/midi/MidiMessage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one aborts, which libFuzzer reports as a crash
// and keeps the input that did it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace tv::fuzz {

// A MIDI channel message as the wire carries it: a status byte from 0x80 to 0xEF and data
// bytes below 0x80 (only as many as the message has).
inline bool isSaneChannelMessage(std::uint32_t packed)
{
    const std::uint8_t status = messageStatus(packed);
    if (status < 0x80 || status > 0xEF)
        return false;
    if (messageData1(packed) > 0x7F)
        return false;
    return messageLength(packed) == 2 || messageData2(packed) <= 0x7F;
}

}  // namespace tv::fuzz
