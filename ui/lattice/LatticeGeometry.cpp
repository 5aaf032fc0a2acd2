#include "ui/lattice/LatticeGeometry.h"

#include "core/lattice/Lattice.h"

#include <QFont>
#include <QFontMetrics>

#include <cstdint>

namespace tv {
namespace {

LatticeFontMetrics::Layout measureLayout(const QFont& font)
{
    const QFontMetrics metrics(font);
    return {metrics.height(), metrics.horizontalAdvance(QStringLiteral("00")),
            metrics.horizontalAdvance(QStringLiteral("9999.9"))};
}

}  // namespace

LatticeFontMetrics LatticeFontMetrics::measure(const QFont& normalFont, const QFont& smallFont)
{
    const QFontMetrics normalMetrics(normalFont);
    LatticeFontMetrics fonts;
    fonts.digitWidth = normalMetrics.horizontalAdvance(QLatin1Char('0'));
    fonts.digitHeight = normalMetrics.height();
    fonts.normal = measureLayout(normalFont);
    fonts.small = measureLayout(smallFont);
    return fonts;
}

LatticeGeometry::LatticeGeometry(const Lattice& lattice, QSize outerSize,
                                 const LatticeFontMetrics& fonts)
    : lattice_(&lattice), outerSize_(outerSize),
      drawWidth_(outerSize.width() - 2 * fonts.digitWidth),
      drawHeight_(outerSize.height() - 4 * fonts.digitHeight),
      smallLayout_(!(drawWidth_ > 500 && drawHeight_ > 350))
{
    const LatticeFontMetrics::Layout& layout = smallLayout_ ? fonts.small : fonts.normal;
    lineHeight_ = layout.lineHeight;
    ratioHitWidth_ = static_cast<int>(1.33 * layout.twoDigitsWidth + 0.5);
    ratioHitHeight_ = 2 * layout.lineHeight;
    centsHitWidth_ = layout.centsWidth;
    centsHitHeight_ = layout.lineHeight;
}

QPoint LatticeGeometry::labelAt(const LatticeElement& element) const
{
    // The right-hand 15 percent is left for the labels themselves. The products are taken
    // in this order and truncated toward zero.
    return {static_cast<int>(element.plotX * 0.001 * drawWidth_ * 0.85),
            static_cast<int>(element.plotY * 0.001 * drawHeight_ * 0.85)};
}

QPoint LatticeGeometry::labelAt(int index) const
{
    const LatticeElement* element = lattice_->element(index);
    return element ? labelAt(*element) : QPoint();
}

QRect LatticeGeometry::box(const LatticeElement& element) const
{
    const bool ratio = element.isRatio();
    return {labelAt(element), QSize((ratio ? ratioHitWidth_ : centsHitWidth_) + 1,
                                    (ratio ? ratioHitHeight_ : centsHitHeight_) + 1)};
}

QRect LatticeGeometry::box(int index) const
{
    const LatticeElement* element = lattice_->element(index);
    return element ? box(*element) : QRect();
}

int LatticeGeometry::hitTest(QPoint at) const
{
    const std::int64_t x = at.x();
    const std::int64_t y = at.y();
    const int count = lattice_->count();
    for (int i = 0; i < count; ++i) {
        const LatticeElement& element = *lattice_->element(i);
        const QPoint corner = labelAt(element);
        const bool ratio = element.isRatio();
        const std::int64_t left = corner.x();
        const std::int64_t top = corner.y();
        const std::int64_t right = left + (ratio ? ratioHitWidth_ : centsHitWidth_);
        const std::int64_t bottom = top + (ratio ? ratioHitHeight_ : centsHitHeight_);
        if (left <= x && x <= right && top <= y && y <= bottom)
            return i;
    }
    return -1;
}

}  // namespace tv
