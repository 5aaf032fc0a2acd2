#include "ui/lattice/CoverageMask.h"

#include <algorithm>

namespace tv {
namespace {

// Bits first..last (inclusive) of one 64-bit word.
std::uint64_t span(int first, int last)
{
    const std::uint64_t high = last == 63 ? ~0ull : ((1ull << (last + 1)) - 1);
    return high & ~((1ull << first) - 1);
}

}  // namespace

void CoverageMask::reset(const QRect& area)
{
    area_ = area.isValid() ? area : QRect();
    wordsPerRow_ = (std::max(0, area_.width()) + 63) / 64;
    bits_.assign(static_cast<std::size_t>(wordsPerRow_) * std::max(0, area_.height()), 0);
}

bool CoverageMask::covered(const QRect& rect) const
{
    const QRect r = clip(rect);
    if (r.isEmpty())
        return true;
    const int firstWord = r.left() / 64, lastWord = r.right() / 64;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const std::uint64_t* row = bits_.data() + static_cast<std::size_t>(y) * wordsPerRow_;
        for (int w = firstWord; w <= lastWord; ++w) {
            const int first = w == firstWord ? r.left() % 64 : 0;
            const int last = w == lastWord ? r.right() % 64 : 63;
            const std::uint64_t want = span(first, last);
            if ((row[w] & want) != want)
                return false;
        }
    }
    return true;
}

void CoverageMask::cover(const QRect& rect)
{
    const QRect r = clip(rect);
    if (r.isEmpty())
        return;
    const int firstWord = r.left() / 64, lastWord = r.right() / 64;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        std::uint64_t* row = bits_.data() + static_cast<std::size_t>(y) * wordsPerRow_;
        for (int w = firstWord; w <= lastWord; ++w) {
            const int first = w == firstWord ? r.left() % 64 : 0;
            const int last = w == lastWord ? r.right() % 64 : 63;
            row[w] |= span(first, last);
        }
    }
}

}  // namespace tv
