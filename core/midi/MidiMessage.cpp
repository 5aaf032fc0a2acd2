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
    const std::uint8_t bytes[3] = {messageStatus(packed), messageData1(packed),
                                   messageData2(packed)};
    return messageHex(
        std::span<const std::uint8_t>(bytes, static_cast<std::size_t>(messageLength(packed))));
}

std::string messageHex(std::span<const std::uint8_t> bytes)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

bool isSystemExclusive(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 2 || bytes.front() != 0xF0 || bytes.back() != 0xF7)
        return false;
    for (std::size_t i = 1; i + 1 < bytes.size(); ++i) {
        if (bytes[i] >= 0x80)
            return false;
    }
    return true;
}

}  // namespace tv
