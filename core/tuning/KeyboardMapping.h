#pragma once

#include "core/pitch/FileResult.h"
#include "core/tuning/KeyScale.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

// The equal-tempered pitch of MIDI key 0 in Hz, when key 69 sounds 440 Hz.
inline constexpr double keyZeroFrequency = 8.1757989156437073336;

// Which scale degree each MIDI key plays: a Scala keyboard mapping (.kbm). Keys from the
// middle key up take the map's entries in turn, and the map repeats every `size` keys both
// ways, each repetition `octaveDegree` scale degrees further on. Map size 0 plays every degree
// in order, degree 0 on the middle key. Keys outside firstKey..lastKey are not mapped.
struct KeyboardMapping {
    // A map entry that leaves its key unmapped ("x" in a file).
    static constexpr int unmapped = -1;
    // Bounds of the whole numbers a file may give for the size, the entries and the octave.
    static constexpr int maxNumber = 65535;

    int size = 0;
    int firstKey = 0;
    int lastKey = 127;
    int middleKey = 60;
    int referenceKey = 60;
    // The frequency the reference key sounds, in Hz; by default key 60's equal-tempered one,
    // exactly five octaves above key 0's.
    double referenceFrequency = keyZeroFrequency * 32.0;
    int octaveDegree = 0;
    // Scale degrees from the middle key up, or `unmapped`; never more than `size`. The entries
    // a file leaves out at the end are unmapped.
    std::vector<int> entries;

    // The scale degree `key` plays; nothing when it is unmapped or outside firstKey..lastKey.
    std::optional<int> keyDegree(int key) const;
    // The pitch above 1/1 that `key` plays with `scale`.
    std::optional<KeyPitch> keyPitch(const KeyScale& scale, int key) const;
    // Where `key` sounds, in cents above the equal-tempered pitch of key 0 (8.1757989156 Hz):
    // its pitch moved so that the reference key sounds the reference frequency. When the
    // reference key's own entry is unmapped, the middle key sounds 1/1 at its equal-tempered
    // pitch instead. A key the mapping leaves unmapped keeps its equal-tempered pitch.
    double keyTuning(const KeyScale& scale, int key) const;

    bool operator==(const KeyboardMapping&) const = default;

private:
    std::optional<int> degreeInMap(int key) const;
};

// Far above any real mapping: a map of 65535 entries is about 400 kB.
inline constexpr std::uintmax_t keyboardMappingMaxFileBytes = std::uintmax_t{4} << 20;

// A keyboard mapping as read: the mapping when ok, otherwise the message to show, which names
// the line (from 1, comments counted) it is about.
struct KeyboardMappingRead {
    KeyboardMapping mapping;
    bool ok = true;
    std::string message;
    std::uint32_t line = 0;

    FileResult result() const { return {ok, message}; }
};

// Lines starting with "!" (after blanks) are comments and blank lines are passed over; of the
// others, the first word counts and the rest of the line is ignored. In order: the map size,
// the first and last key mapped, the middle key, the reference key, its frequency, the
// formal octave's degree, then up to `size` entries, each a degree or "x".
KeyboardMappingRead parseKeyboardMapping(std::string_view text);
// The same from a file; "Unable to open <path>" when it cannot be read, "<path> is too large
// to be a keyboard mapping" beyond keyboardMappingMaxFileBytes.
KeyboardMappingRead readKeyboardMappingFile(const std::string& path);

// The file text with CR LF line ends, a comment before each value and all `size` entries.
std::string keyboardMappingText(const KeyboardMapping& mapping);
// Written through a temporary file that replaces `path` only when complete. Failures: "Unable
// to open <path>" or "Unable to write <path>", then ": " and the system's reason if known.
FileResult writeKeyboardMappingFile(const KeyboardMapping& mapping, const std::string& path);

}  // namespace tv
