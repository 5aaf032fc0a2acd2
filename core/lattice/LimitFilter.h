#pragma once

#include <array>

namespace tv {

struct LatticeElement;

// Which of the Limit menu's four prime items (0: 3, 1: 5, 2: 7, 3: 11) governs an element:
// the item of the largest odd prime in its ratio, worked out from the ratio itself so that
// the answer does not depend on the layout style. -1 for elements no item governs: cents-only
// elements and the octaves of 1/1.
//
// Ratios with 13 or a larger prime have no item of their own. They follow "11 limit", the
// item of the highest primes: unchecking it leaves a lattice of 7-limit pitches, and a
// 13-limit pitch never shows while an 11-limit one is hidden.
int limitItemOf(const LatticeElement& element);

// The Limit menu's four prime check marks, as a filter of what is drawn, hit and played.
struct LimitFilter {
    std::array<bool, 4> shown{true, true, true, true};

    bool showsAll() const { return shown[0] && shown[1] && shown[2] && shown[3]; }
    bool shows(const LatticeElement& element) const;
};

}  // namespace tv
