#include "core/midi/MidiMessage.h"

namespace tv {

int messageLength(std::uint32_t packed)
{
    const std::uint8_t status = messageStatus(packed);
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0: return 2;
    case 0xF0:
        if (status == 0xF1 || status == 0xF3)
            return 2;
        if (status == 0xF2)
            return 3;
        return 1;
    default: return 3;
    }
}

bool isChannelMessage(std::uint32_t packed)
{
    const std::uint8_t status = messageStatus(packed);
    if (status < 0x80 || status >= 0xF0 || messageData1(packed) > 0x7F)
        return false;
    return messageLength(packed) == 2 || messageData2(packed) <= 0x7F;
}

std::string messageHex(std::uint32_t packed)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    const int length = messageLength(packed);
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<std::uint8_t>(packed >> (8 * i));
        if (i)
            text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

}  // namespace tv
