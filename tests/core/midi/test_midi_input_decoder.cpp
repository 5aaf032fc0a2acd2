#include "core/midi/MidiInputDecoder.h"
#include "core/midi/MidiMessage.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(MidiInputDecoder, DecodesReadsAsMidiDoes)
{
    const struct {
        const char* what;
        std::vector<Bytes> reads;
        std::vector<std::uint32_t> messages;
    } cases[] = {
        {"note on and off",
         {{0x90, 60, 100, 0x80, 60, 64}},
         {packMessage(0x90, 60, 100), packMessage(0x80, 60, 64)}},
        {"running status",
         {{0x91, 60, 100, 62, 90, 60, 0}},
         {packMessage(0x91, 60, 100), packMessage(0x91, 62, 90), packMessage(0x91, 60, 0)}},
        {"running status of one data byte",
         {{0xC2, 5, 6, 0xD3, 40, 41}},
         {packMessage(0xC2, 5), packMessage(0xC2, 6), packMessage(0xD3, 40),
          packMessage(0xD3, 41)}},
        {"stray data before any status", {{60, 100, 0x90, 60, 100}}, {packMessage(0x90, 60, 100)}},
        {"split byte by byte",
         {{0xE0}, {0x00}, {0x40}, {0x01}, {}, {0x41}},
         {packMessage(0xE0, 0, 64), packMessage(0xE0, 1, 65)}},
        {"real-time inside a message and between running status",
         {{0x90, 0xF8, 60, 0xFE, 100, 0xFA}, {0xFC, 62, 0xFF, 90}},
         {packMessage(0x90, 60, 100), packMessage(0x90, 62, 90)}},
        {"system exclusive skipped, split, with real-time inside",
         {{0xF0, 0x7E, 0x7F, 0x90}, {60, 0xF8, 0xF7, 0xB0, 64, 127}},
         {packMessage(0xB0, 64, 127)}},
        {"system exclusive ends running status",
         {{0x90, 60, 100, 0xF0, 1, 0xF7, 62, 90}},
         {packMessage(0x90, 60, 100)}},
        {"a status byte ends system exclusive",
         {{0xF0, 1, 2, 0x80, 60, 0}},
         {packMessage(0x80, 60, 0)}},
        {"system common data passed over, then stray data",
         {{0x90, 60, 100, 0xF2, 60, 100, 62, 90, 0xF1, 0x90, 0xF3}, {1, 0xF6, 62, 0xF4, 3}},
         {packMessage(0x90, 60, 100)}},
        {"a lone end of exclusive ends running status",
         {{0x90, 60, 100, 0xF7, 62, 90}},
         {packMessage(0x90, 60, 100)}},
        {"a status byte cuts a message short",
         {{0x90, 60, 0xB1, 7, 0xC0, 0xB1, 7, 10}},
         {packMessage(0xB1, 7, 10)}},
    };
    for (const auto& c : cases) {
        MidiInputDecoder decoder;
        std::vector<std::uint32_t> messages;
        for (const Bytes& read : c.reads)
            decoder.decode(read.data(), read.size(), messages);
        EXPECT_EQ(messages, c.messages) << c.what;
    }
}

TEST(MidiInputDecoder, ResetForgetsAMessageInProgress)
{
    MidiInputDecoder decoder;
    std::vector<std::uint32_t> messages;
    const Bytes first{0x90, 60}, second{100, 0x90, 62, 90};
    decoder.decode(first.data(), first.size(), messages);
    decoder.reset();
    decoder.decode(second.data(), second.size(), messages);
    EXPECT_EQ(messages, std::vector<std::uint32_t>{packMessage(0x90, 62, 90)});
}

TEST(MidiInputDecoder, NoteOnOfVelocityZeroEndsANote)
{
    EXPECT_TRUE(endsNote(packMessage(0x80, 60, 64)));
    EXPECT_TRUE(endsNote(packMessage(0x9F, 60, 0)));
    EXPECT_FALSE(endsNote(packMessage(0x90, 60, 1)));
    EXPECT_FALSE(endsNote(packMessage(0xA0, 60, 0)));
    EXPECT_FALSE(endsNote(packMessage(0xB0, 0x40, 0)));
}

}  // namespace
}  // namespace tv
