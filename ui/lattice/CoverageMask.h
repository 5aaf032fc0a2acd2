#pragma once

#include <QRect>

#include <cstdint>
#include <vector>

namespace tv {

// One bit per pixel of a surface: which pixels something opaque has been drawn on. Used to
// leave out labels that later labels cover completely, so that a dense lattice costs what
// can be seen rather than what was laid out.
class CoverageMask {
public:
    // A clear mask over `area` of the surface, nothing covered.
    void reset(const QRect& area);
    // Rectangles are clipped to the area; an empty or outside one counts as covered.
    bool covered(const QRect& rect) const;
    void cover(const QRect& rect);

private:
    // The part of `rect` inside the area, with the area's top left at (0, 0).
    QRect clip(const QRect& rect) const
    {
        return rect.intersected(area_).translated(-area_.topLeft());
    }

    QRect area_;
    int wordsPerRow_ = 0;
    std::vector<std::uint64_t> bits_;
};

}  // namespace tv
