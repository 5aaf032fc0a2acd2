#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tv {

// A short MIDI message packed into 32 bits: status byte in bits 0..7, first data byte in bits
// 8..15, second in bits 16..23. Every output service receives messages in this form only.
constexpr std::uint32_t packMessage(std::uint8_t status, std::uint8_t data1 = 0,
                                    std::uint8_t data2 = 0)
{
    return static_cast<std::uint32_t>(status) | (static_cast<std::uint32_t>(data1) << 8) |
           (static_cast<std::uint32_t>(data2) << 16);
}

constexpr std::uint8_t messageStatus(std::uint32_t packed) { return packed & 0xFF; }
constexpr std::uint8_t messageData1(std::uint32_t packed) { return (packed >> 8) & 0xFF; }
constexpr std::uint8_t messageData2(std::uint32_t packed) { return (packed >> 16) & 0xFF; }

constexpr std::uint32_t programChange(int channel, int program)
{
    return packMessage(static_cast<std::uint8_t>(0xC0 + (channel & 15)),
                       static_cast<std::uint8_t>(program & 0x7F));
}
constexpr std::uint32_t pitchBend(int channel, std::uint8_t lsb, std::uint8_t msb)
{
    return packMessage(static_cast<std::uint8_t>(0xE0 + (channel & 15)), lsb, msb);
}
constexpr std::uint32_t noteOn(int channel, std::uint8_t note, std::uint8_t velocity)
{
    return packMessage(static_cast<std::uint8_t>(0x90 + (channel & 15)), note, velocity);
}
constexpr std::uint32_t noteOff(int channel, std::uint8_t note)
{
    return packMessage(static_cast<std::uint8_t>(0x80 + (channel & 15)), note, 0);
}

// Controller 123, "all notes off": every note of the channel ends.
inline constexpr std::uint8_t allNotesOffController = 123;

constexpr std::uint32_t controlChange(int channel, std::uint8_t controller, std::uint8_t value)
{
    return packMessage(static_cast<std::uint8_t>(0xB0 + (channel & 15)), controller & 0x7F,
                       value & 0x7F);
}

// Controller 64: the sustain pedal, down from 64 up.
inline constexpr std::uint8_t sustainController = 64;

// Controllers of the registered-parameter protocol: the parameter's number (most and least
// significant part), its value (data entry), and the null parameter number that ends an
// exchange so that later data entry changes nothing.
inline constexpr std::uint8_t parameterMsbController = 101;
inline constexpr std::uint8_t parameterLsbController = 100;
inline constexpr std::uint8_t dataEntryMsbController = 6;
inline constexpr std::uint8_t dataEntryLsbController = 38;
inline constexpr std::uint8_t nullParameter = 127;

constexpr std::uint32_t channelPressure(int channel, std::uint8_t value)
{
    return packMessage(static_cast<std::uint8_t>(0xD0 + (channel & 15)), value & 0x7F);
}

constexpr std::uint32_t keyPressure(int channel, std::uint8_t key, std::uint8_t value)
{
    return packMessage(static_cast<std::uint8_t>(0xA0 + (channel & 15)), key & 0x7F, value & 0x7F);
}

// Number of bytes the message has on the wire: 2 for program change and channel pressure,
// 1 for single-byte system messages, 3 otherwise.
int messageLength(std::uint32_t packed);

// Whether the message is a channel message (status 0x80 to 0xEF) whose data bytes, as many as
// it has, are all below 0x80: the only messages byte code read from anywhere may send.
bool isChannelMessage(std::uint32_t packed);

// The message bytes as two-digit lower-case hex separated by single spaces ("c0 05").
std::string messageHex(std::uint32_t packed);
// The same for a message of any length given as its bytes ("f0 7f 7f 08 ... f7").
std::string messageHex(std::span<const std::uint8_t> bytes);

// A system-exclusive message as it goes on the wire: it starts with F0, ends with F7, and
// every byte between is below 0x80.
bool isSystemExclusive(std::span<const std::uint8_t> bytes);

}  // namespace tv
