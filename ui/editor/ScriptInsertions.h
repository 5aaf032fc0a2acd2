#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tv {

// One item of the editor's insertion lists: what the list shows, and what choosing it puts
// into the script (a trailing space included).
struct InsertionItem {
    std::string_view shown;
    std::string_view inserted;
};

// The command, dynamics and note-value lists, in list order.
std::span<const InsertionItem> commandItems();
std::span<const InsertionItem> dynamicsItems();
std::span<const InsertionItem> noteValueItems();

// What a picked ratio puts into the script: " 3/2 ".
std::string ratioInsertion(std::uint32_t numerator, std::uint32_t denominator);

// What a picked cents-only pitch puts into the script: the cents note word between spaces,
// " 701.955c ", written without the locale and to a millionth of a cent. Nothing for a value
// that is no number.
std::optional<std::string> centsInsertion(double cents);

}  // namespace tv
