#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tv::test {

// The bytes of a recording's MIDI file around its events, written out by hand: header chunk,
// track chunk with the given length, the four meta events, the events, the end of track.
inline std::vector<std::uint8_t> expectedMidiFile(std::uint32_t trackLength,
                                                  const std::vector<std::uint8_t>& events)
{
    std::vector<std::uint8_t> file = {'M',
                                      'T',
                                      'h',
                                      'd',
                                      0x00,
                                      0x00,
                                      0x00,
                                      0x06,
                                      0x00,
                                      0x00,
                                      0x00,
                                      0x01,
                                      0x00,
                                      0x78,
                                      'M',
                                      'T',
                                      'r',
                                      'k',
                                      static_cast<std::uint8_t>(trackLength >> 24),
                                      static_cast<std::uint8_t>(trackLength >> 16),
                                      static_cast<std::uint8_t>(trackLength >> 8),
                                      static_cast<std::uint8_t>(trackLength),
                                      0x00,
                                      0xFF,
                                      0x54,
                                      0x05,
                                      0x40,
                                      0x00,
                                      0x00,
                                      0x00,
                                      0x00,  //
                                      0x00,
                                      0xFF,
                                      0x51,
                                      0x03,
                                      0x0F,
                                      0x42,
                                      0x40,  //
                                      0x00,
                                      0xFF,
                                      0x58,
                                      0x04,
                                      0x04,
                                      0x02,
                                      0x18,
                                      0x08,  //
                                      0x00,
                                      0xFF,
                                      0x59,
                                      0x02,
                                      0x00,
                                      0x00};
    for (const std::uint8_t byte : events)
        file.push_back(byte);
    for (const std::uint8_t byte : {0x00, 0xFF, 0x2F, 0x00})
        file.push_back(byte);
    return file;
}

// What support/MidoReader.h prints for such a file named `name` whose channel messages are
// `messages` ("TICK HEX" lines) and whose track ends at `endTick`.
inline std::string expectedMidoText(const std::string& name,
                                    const std::vector<std::string>& messages, std::uint32_t endTick)
{
    std::string text = "file " + name + " format 0 tracks 1 ticks 120\n";
    text += "0 smpte_offset frame_rate=25 frames=0 hours=0 minutes=0 seconds=0 sub_frames=0\n"
            "0 set_tempo tempo=1000000\n"
            "0 time_signature clocks_per_click=24 denominator=4 notated_32nd_notes_per_beat=8 "
            "numerator=4\n"
            "0 key_signature key=C\n";
    for (const auto& line : messages)
        text += line + "\n";
    text += std::to_string(endTick) + " end_of_track\n";
    return text;
}

}  // namespace tv::test
