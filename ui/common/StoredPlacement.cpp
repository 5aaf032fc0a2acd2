#include "ui/common/StoredPlacement.h"

#include <charconv>

namespace tv {

std::optional<StoredPlacement> parsePlacement(std::string_view text)
{
    const char* position = text.data();
    const char* const end = position + text.size();
    int values[4] = {};
    for (int& value : values) {
        while (position < end && (*position == ' ' || (*position >= '\t' && *position <= '\r')))
            ++position;
        if (position < end && *position == '+')
            ++position;
        const auto result = std::from_chars(position, end, value);
        if (result.ec != std::errc())
            return std::nullopt;
        position = result.ptr;
    }
    return StoredPlacement{values[0], values[1], values[2], values[3]};
}

std::string placementText(const StoredPlacement& placement)
{
    std::string text;
    for (const int value : {placement.left, placement.top, placement.right, placement.bottom}) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(value);
    }
    return text;
}

}  // namespace tv
