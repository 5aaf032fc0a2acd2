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
    void reset(int width, int height);
    // Rectangles are clipped to the surface; an empty or outside one counts as covered.
    bool covered(const QRect& rect) const;
    void cover(const QRect& rect);

private:
    QRect clip(const QRect& rect) const { return rect.intersected(QRect(0, 0, width_, height_)); }

    int width_ = 0;
    int height_ = 0;
    int wordsPerRow_ = 0;
    std::vector<std::uint64_t> bits_;
};

}  // namespace tv
