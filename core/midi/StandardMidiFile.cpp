#include "core/midi/StandardMidiFile.h"

#include "core/midi/MidiMessage.h"
#include "core/pitch/AtomicFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>

namespace tv {
namespace {

constexpr std::uint32_t ticksPerSecond = 120;
constexpr std::uint32_t longestDelta = 0x0FFFFFFF;  // four 7-bit groups

// Header chunk, then the track chunk's tag; its length follows.
constexpr std::uint8_t headerChunk[] = {'M', 'T', 'h', 'd', 0,   0,   0,   6,   0,
                                        0,   0,   1,   0,   120, 'M', 'T', 'r', 'k'};
constexpr std::uint8_t trackStart[] = {
    0x00, 0xFF, 0x54, 0x05, 0x40, 0x00, 0x00, 0x00, 0x00,  // SMPTE offset, hour byte 0x40
    0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,              // tempo 1,000,000 us a quarter
    0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,        // 4/4, 24 clocks, 8 32nds
    0x00, 0xFF, 0x59, 0x02, 0x00, 0x00,                    // key signature C major
};
constexpr std::uint8_t trackEnd[] = {0x00, 0xFF, 0x2F, 0x00};

// Rounded to the nearest tick; ms x 12 never ends in 50, so there is no tie to break.
std::uint32_t deltaTicks(std::uint32_t ms)
{
    const std::uint64_t ticks = (std::uint64_t{ms} * ticksPerSecond + 500) / 1000;
    return ticks > longestDelta ? longestDelta : static_cast<std::uint32_t>(ticks);
}

// Variable-length quantity: 7 bits a byte, most significant first, bit 7 set in all bytes but
// the last; at most four bytes. Gives the number of bytes.
template <typename Put>
std::uint32_t putQuantity(std::uint32_t value, Put&& put)
{
    int groups = 1;
    while (groups < 4 && (value >> (7 * groups)) != 0)
        ++groups;
    for (int g = groups - 1; g > 0; --g)
        put(static_cast<std::uint8_t>(0x80 | ((value >> (7 * g)) & 0x7F)));
    put(static_cast<std::uint8_t>(value & 0x7F));
    return static_cast<std::uint32_t>(groups);
}

// The system-exclusive message an event stands for, or null when it has none fit for a track.
const std::vector<std::uint8_t>* longMessageOf(std::uint32_t message,
                                               const LongMidiMessages& longMessages)
{
    const std::uint32_t index = longMessageIndex(message);
    if (!isLongMessageEvent(message) || index >= longMessages.size())
        return nullptr;
    const std::vector<std::uint8_t>& bytes = longMessages[index];
    // Its length after F0 must fit a variable-length quantity.
    return isSystemExclusive(bytes) && bytes.size() - 1 <= longestDelta ? &bytes : nullptr;
}

// Gives the track's events, as `put(byte)` calls, and their number of bytes.
template <typename Put>
std::uint32_t encodeEvents(std::span<const TimedMidiMessage> events,
                           const LongMidiMessages& longMessages, Put&& put)
{
    std::uint32_t count = 0;
    bool first = true;
    std::uint32_t previous = 0;
    for (const TimedMidiMessage& event : events) {
        const std::vector<std::uint8_t>* exclusive = longMessageOf(event.message, longMessages);
        if (!exclusive && !isChannelMessage(event.message))
            continue;
        const std::uint32_t delta = first ? 0 : deltaTicks(event.time - previous);
        first = false;
        previous = event.time;
        count += putQuantity(delta, put);
        if (exclusive) {
            put(std::uint8_t{0xF0});
            const auto rest = static_cast<std::uint32_t>(exclusive->size() - 1);
            count += 1 + putQuantity(rest, put) + rest;
            for (std::size_t i = 1; i < exclusive->size(); ++i)
                put((*exclusive)[i]);
            continue;
        }
        const int length = messageLength(event.message);
        for (int i = 0; i < length; ++i)
            put(static_cast<std::uint8_t>(event.message >> (8 * i)));
        count += static_cast<std::uint32_t>(length);
    }
    return count;
}

std::array<std::uint8_t, 4> bigEndian(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

// Writes through a buffer of its own, so that millions of single bytes cost little.
class BufferedFile {
public:
    explicit BufferedFile(std::FILE* file) : file_(file) {}
    void put(std::uint8_t byte)
    {
        if (used_ == buffer_.size())
            flush();
        buffer_[used_++] = byte;
    }
    void put(std::span<const std::uint8_t> bytes)
    {
        for (const std::uint8_t byte : bytes)
            put(byte);
    }
    bool flush()
    {
        ok_ = std::fwrite(buffer_.data(), 1, used_, file_) == used_ && ok_;
        used_ = 0;
        return ok_;
    }

private:
    std::FILE* file_;
    std::array<std::uint8_t, 65536> buffer_{};
    std::size_t used_ = 0;
    bool ok_ = true;
};

}  // namespace

std::string midiFileOpenFailedMessage(const std::string& path)
{
    return "Unable to open " + path + " for writing";
}

std::vector<std::uint8_t> standardMidiFileBytes(std::span<const TimedMidiMessage> events,
                                                const LongMidiMessages& longMessages)
{
    std::vector<std::uint8_t> file(std::begin(headerChunk), std::end(headerChunk));
    const std::size_t lengthAt = file.size();
    file.resize(lengthAt + 4);  // the track length, known at the end
    file.reserve(lengthAt + 4 + sizeof trackStart + events.size() * 4 + sizeof trackEnd);
    file.insert(file.end(), std::begin(trackStart), std::end(trackStart));
    const std::uint32_t eventBytes =
        encodeEvents(events, longMessages, [&file](std::uint8_t byte) { file.push_back(byte); });
    file.insert(file.end(), std::begin(trackEnd), std::end(trackEnd));
    const auto length = bigEndian(sizeof trackStart + eventBytes + sizeof trackEnd);
    std::copy(length.begin(), length.end(), file.begin() + lengthAt);
    return file;
}

FileResult writeStandardMidiFile(const std::string& path, std::span<const TimedMidiMessage> events,
                                 const LongMidiMessages& longMessages)
{
    // Streamed, not built in memory first: a long recording's file runs to many megabytes.
    const auto status = writeFileAtomically(path, [events, &longMessages](std::FILE* file) {
        BufferedFile out(file);
        out.put(headerChunk);
        out.put(bigEndian(0));  // the track length, known at the end
        out.put(trackStart);
        const std::uint32_t eventBytes =
            encodeEvents(events, longMessages, [&out](std::uint8_t byte) { out.put(byte); });
        out.put(trackEnd);
        const auto length = bigEndian(sizeof trackStart + eventBytes + sizeof trackEnd);
        return out.flush() && std::fseek(file, sizeof headerChunk, SEEK_SET) == 0 &&
               std::fwrite(length.data(), 1, length.size(), file) == length.size();
    });
    switch (status) {
    case AtomicWriteStatus::ok: return {};
    case AtomicWriteStatus::openFailed: return {false, midiFileOpenFailedMessage(path)};
    case AtomicWriteStatus::writeFailed: break;
    }
    return {false, "Unable to write " + path};
}

}  // namespace tv
