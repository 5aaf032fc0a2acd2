#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace tv {

// A window's outer rectangle as the settings store keeps it: "left top right bottom" in
// screen pixels. Plain text and numbers only, so that any stored value can be tried without
// a window or a toolkit.
struct StoredPlacement {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // right - left and bottom - top, exact for any four ints.
    std::int64_t width() const { return std::int64_t{right} - left; }
    std::int64_t height() const { return std::int64_t{bottom} - top; }
    // Whether the rectangle has a size a window can take: both sides positive and within int.
    bool hasUsableSize() const
    {
        constexpr std::int64_t most = std::numeric_limits<int>::max();
        return width() > 0 && height() > 0 && width() <= most && height() <= most;
    }

    bool operator==(const StoredPlacement& other) const = default;
};

// Reads the first four signed decimal integers separated by white space, as "%d %d %d %d"
// reads them (a plus sign is allowed, anything may follow the fourth); nothing when fewer
// than four can be read. A number beyond int ends the reading like a word would.
std::optional<StoredPlacement> parsePlacement(std::string_view text);

// The value as it is stored: the four numbers separated by single spaces.
std::string placementText(const StoredPlacement& placement);

}  // namespace tv
