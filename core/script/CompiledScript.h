#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tv {

// Operation bytes of the byte code. Lengths inside steps are unsigned 32-bit milliseconds,
// most significant byte first.
namespace scriptop {
inline constexpr std::uint8_t end = 0x00;
inline constexpr std::uint8_t chordOn = 0x50;      // 'P': count N, then N note records of 6
inline constexpr std::uint8_t chordLength = 0x44;  // 'D': length, then N note-off records of 3
inline constexpr std::uint8_t rest = 0x52;         // 'R': length
inline constexpr std::uint8_t program = 0x2A;      // '*': channel, program
}  // namespace scriptop

inline constexpr std::size_t noteRecordSize = 6;     // bend status, lsb, msb, note-on status,
                                                     // note, velocity
inline constexpr std::size_t noteOffRecordSize = 3;  // note-off status, note, 0
inline constexpr int maxChordNotes = 16;             // one note per MIDI channel

// The byte code of one script, end byte included. Immutable once built: players, slots and
// files share it through std::shared_ptr<const CompiledScript>, so replacing a slot's code
// never frees bytes under a running player.
class CompiledScript {
public:
    // The empty script: the end byte alone.
    CompiledScript();
    // Any bytes, as compiled or as read back from a file; readers cope with malformed code.
    explicit CompiledScript(std::vector<std::uint8_t> bytes);

    std::span<const std::uint8_t> bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

    // Two-digit lower-case hex separated by single spaces ("50 02 e0 ...").
    std::string hex() const;

    bool operator==(const CompiledScript& other) const = default;

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace tv
