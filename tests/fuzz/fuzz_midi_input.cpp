// A MIDI input's bytes: whatever arrives decodes into well-formed channel messages only, the
// same however the bytes are split into reads, and the same with the real-time bytes removed.
#include "FuzzCheck.h"

#include "core/midi/MidiInputDecoder.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tv;
    MidiInputDecoder whole;
    std::vector<std::uint32_t> expected;
    whole.decode(data, size, expected);
    FUZZ_CHECK(expected.size() <= size);
    for (const std::uint32_t message : expected)
        FUZZ_CHECK(fuzz::isSaneChannelMessage(message));

    // Reads of 1 to 8 bytes, their lengths taken from the bytes themselves.
    MidiInputDecoder pieces;
    std::vector<std::uint32_t> split;
    for (std::size_t at = 0; at < size;) {
        const std::size_t length = std::min<std::size_t>(1 + data[at] % 8, size - at);
        pieces.decode(data + at, length, split);
        at += length;
    }
    FUZZ_CHECK(split == expected);

    std::vector<std::uint8_t> withoutRealTime;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0xF8)
            withoutRealTime.push_back(data[i]);
    }
    MidiInputDecoder plain;
    std::vector<std::uint32_t> same;
    plain.decode(withoutRealTime.data(), withoutRealTime.size(), same);
    FUZZ_CHECK(same == expected);
    return 0;
}
