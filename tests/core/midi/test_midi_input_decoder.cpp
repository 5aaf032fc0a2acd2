#include "core/midi/MidiInputDecoder.h"
#include "core/midi/MidiMessage.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Messages = std::vector<std::uint32_t>;

constexpr std::uint32_t m(std::uint8_t s, std::uint8_t a, std::uint8_t b = 0)
{
    return packMessage(s, a, b);
}

TEST(MidiInputDecoder, DecodesReadsAsMidiDoes)
{
    const std::tuple<const char*, std::vector<Bytes>, Messages> cases[] = {
        {"note on and off", {{0x90, 60, 100, 0x80, 60, 64}}, {m(0x90, 60, 100), m(0x80, 60, 64)}},
        {"running status", {{0x91, 60, 100, 62, 90}}, {m(0x91, 60, 100), m(0x91, 62, 90)}},
        {"running status of one data byte",
         {{0xC2, 5, 6, 0xD3, 40, 41}},
         {m(0xC2, 5), m(0xC2, 6), m(0xD3, 40), m(0xD3, 41)}},
        {"stray data before any status", {{60, 100, 0x90, 60, 100}}, {m(0x90, 60, 100)}},
        {"split byte by byte",
         {{0xE0}, {0x00}, {0x40}, {0x01}, {}, {0x41}},
         {m(0xE0, 0, 64), m(0xE0, 1, 65)}},
        {"real-time inside a message and between running status",
         {{0x90, 0xF8, 60, 0xFE, 100, 0xFA}, {0xFC, 62, 0xFF, 90}},
         {m(0x90, 60, 100), m(0x90, 62, 90)}},
        {"system exclusive skipped, split, with real-time inside",
         {{0xF0, 0x7E, 0x7F, 0x90}, {60, 0xF8, 0xF7, 0xB0, 64, 127}},
         {m(0xB0, 64, 127)}},
        {"system exclusive ends running status",
         {{0x90, 60, 100, 0xF0, 1, 0xF7, 62, 90}},
         {m(0x90, 60, 100)}},
        {"a status byte ends system exclusive", {{0xF0, 1, 2, 0x80, 60, 0}}, {m(0x80, 60, 0)}},
        {"system common data passed over, then stray data",
         {{0x90, 60, 100, 0xF2, 60, 100, 62, 90, 0xF1, 0x90, 0xF3}, {1, 0xF6, 62, 0xF4, 3}},
         {m(0x90, 60, 100)}},
        {"a lone end of exclusive ends running status",
         {{0x90, 60, 100, 0xF7, 62, 90}},
         {m(0x90, 60, 100)}},
        {"a status byte cuts a message short",
         {{0x90, 60, 0xB1, 7, 0xC0, 0xB1, 7, 10}},
         {m(0xB1, 7, 10)}},
    };
    for (const auto& [what, reads, expected] : cases) {
        MidiInputDecoder decoder;
        Messages messages;
        for (const Bytes& read : reads)
            decoder.decode(read.data(), read.size(), messages);
        EXPECT_EQ(messages, expected) << what;
    }
    // A new input starts afresh.
    MidiInputDecoder decoder;
    Messages messages;
    const Bytes first{0x90, 60}, second{100, 0x90, 62, 90};
    decoder.decode(first.data(), first.size(), messages);
    decoder.reset();
    decoder.decode(second.data(), second.size(), messages);
    EXPECT_EQ(messages, Messages{m(0x90, 62, 90)});
}

TEST(MidiInputDecoder, NoteOnOfVelocityZeroEndsANote)
{
    const std::pair<std::uint32_t, bool> cases[] = {{m(0x80, 60, 64), true},
                                                    {m(0x9F, 60, 0), true},
                                                    {m(0x90, 60, 1), false},
                                                    {m(0xA0, 60, 0), false}};
    for (const auto& [message, ends] : cases)
        EXPECT_EQ(endsNote(message), ends) << message;
}

}  // namespace
}  // namespace tv
