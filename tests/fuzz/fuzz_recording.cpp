// The recording's expansion over any code, from any start time: every message is a MIDI
// channel message with data bytes below 0x80, and the Standard MIDI File made of them parses,
// holding every one of them.
#include "FuzzCheck.h"

#include "core/keyboard/Recording.h"

#include <algorithm>
#include <span>
#include <vector>

namespace {

// Reads a format 0 file as the writer makes it, event by event; gives the number of channel
// messages in its track, or -1 when the file does not parse.
long channelMessagesInFile(std::span<const std::uint8_t> file)
{
    static constexpr std::uint8_t header[] = {'M', 'T', 'h', 'd', 0,   0,   0,   6,   0,
                                              0,   0,   1,   0,   120, 'M', 'T', 'r', 'k'};
    if (file.size() < sizeof header + 4 ||
        !std::equal(header, header + sizeof header, file.begin()))
        return -1;
    std::size_t at = sizeof header;
    const std::uint32_t length = std::uint32_t{file[at]} << 24 | std::uint32_t{file[at + 1]} << 16 |
                                 std::uint32_t{file[at + 2]} << 8 | file[at + 3];
    at += 4;
    if (file.size() - at != length)
        return -1;
    long messages = 0;
    while (at < file.size()) {
        // Delta time: at most four bytes, bit 7 set in all but the last.
        int groups = 0;
        do {
            if (at == file.size() || ++groups > 4)
                return -1;
        } while (file[at++] & 0x80);
        if (at == file.size())
            return -1;
        const std::uint8_t status = file[at++];
        if (status == 0xFF) {
            if (file.size() - at < 2)
                return -1;
            const std::uint8_t type = file[at];
            const std::size_t dataLength = file[at + 1];  // the writer's meta events are short
            at += 2;
            if (dataLength >= 0x80 || file.size() - at < dataLength)
                return -1;
            at += dataLength;
            if (type == 0x2F)
                return at == file.size() && dataLength == 0 ? messages : -1;
            continue;
        }
        // Every event carries its status byte: no running status.
        if (status < 0x80 || status > 0xEF)
            return -1;
        const std::size_t dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if (file.size() - at < dataBytes)
            return -1;
        for (std::size_t i = 0; i < dataBytes; ++i) {
            if (file[at++] >= 0x80)
                return -1;
        }
        ++messages;
    }
    return -1;  // no end of track
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tv;
    std::uint32_t start = 0;
    if (size >= 4) {
        start = std::uint32_t{data[0]} << 24 | std::uint32_t{data[1]} << 16 |
                std::uint32_t{data[2]} << 8 | data[3];
        data += 4;
        size -= 4;
    }
    const CompiledScript code(std::vector<std::uint8_t>(data, data + size));
    std::vector<TimedMidiMessage> events;
    expandScript(code, start, events);
    for (const TimedMidiMessage& event : events)
        FUZZ_CHECK(fuzz::isSaneChannelMessage(event.message));

    sortEvents(events);
    for (std::size_t i = 1; i < events.size(); ++i)
        FUZZ_CHECK(events[i - 1].time <= events[i].time);
    const std::vector<std::uint8_t> file = standardMidiFileBytes(events);
    FUZZ_CHECK(channelMessagesInFile(file) == static_cast<long>(events.size()));
    return 0;
}
