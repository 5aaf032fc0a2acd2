#pragma once

#include <array>
#include <cstddef>

namespace tv {

struct LatticeElement;

// Which of the Limit menu's six prime items (0: 3, 1: 5, 2: 7, 3: 11, 4: 13, 5: 17 and above)
// governs an element: the item of the largest odd prime in its ratio, worked out from the
// ratio itself so that the answer does not depend on the layout style. -1 for elements no item
// governs: cents-only elements and the octaves of 1/1.
int limitItemOf(const LatticeElement& element);

// The Limit menu's six prime check marks, as a filter of what is drawn, hit and played.
struct LimitFilter {
    static constexpr std::size_t itemCount = 6;
    std::array<bool, itemCount> shown{true, true, true, true, true, true};

    bool showsAll() const;
    bool shows(const LatticeElement& element) const;
};

}  // namespace tv
