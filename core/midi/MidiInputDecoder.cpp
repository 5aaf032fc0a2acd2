#include "core/midi/MidiInputDecoder.h"

#include "core/midi/MidiMessage.h"

namespace tv {
namespace {

// Data bytes after a channel status: one for program change and channel pressure.
int channelDataBytes(std::uint8_t status)
{
    const std::uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Data bytes after a system common status (F1 to F7).
int commonDataBytes(std::uint8_t status)
{
    switch (status) {
    case 0xF1:
    case 0xF3: return 1;
    case 0xF2: return 2;
    default: return 0;
    }
}

}  // namespace

void MidiInputDecoder::decode(const std::uint8_t* bytes, std::size_t count,
                              std::vector<std::uint32_t>& messages)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes[i];
        if (byte >= 0xF8)
            continue;
        if (byte >= 0x80) {
            have_ = 0;
            inSysex_ = byte == 0xF0;
            if (byte < 0xF0) {
                status_ = byte;
                needed_ = channelDataBytes(byte);
                skipping_ = 0;
            } else {
                status_ = 0;
                skipping_ = commonDataBytes(byte);
            }
            continue;
        }
        if (inSysex_)
            continue;
        if (skipping_ > 0) {
            --skipping_;
            continue;
        }
        if (status_ == 0)
            continue;
        data_[have_++] = byte;
        if (have_ == needed_) {
            messages.push_back(packMessage(status_, data_[0], needed_ == 2 ? data_[1] : 0));
            have_ = 0;
        }
    }
}

void MidiInputDecoder::reset() { *this = MidiInputDecoder(); }

bool endsNote(std::uint32_t packed)
{
    const std::uint8_t kind = messageStatus(packed) & 0xF0;
    return kind == 0x80 || (kind == 0x90 && messageData2(packed) == 0);
}

}  // namespace tv
