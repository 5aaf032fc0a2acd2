#include "ui/lattice/LatticeGeometry.h"

#include "core/lattice/Lattice.h"
#include "core/pitch/NumberText.h"
#include "ui/lattice/GlyphText.h"

#include <QFont>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace tv {
namespace {

LatticeFontMetrics::Layout measureLayout(const GlyphText& text)
{
    const QFontMetrics metrics(text.font());
    LatticeFontMetrics::Layout layout{metrics.height(),
                                      metrics.horizontalAdvance(QStringLiteral("00")),
                                      metrics.horizontalAdvance(QStringLiteral("9999.9"))};
    for (char c = 32; c < 127; ++c) {
        auto& character = layout.characters[static_cast<std::size_t>(c)];
        character.advance = text.advance(c);
        const QRectF ink = text.inkBounds(c);
        if (!ink.isEmpty()) {
            character.inkLeft = ink.left();
            character.inkRight = ink.right();
        }
    }
    return layout;
}

}  // namespace

LatticeFontMetrics::Layout::Ink LatticeFontMetrics::Layout::ink(std::string_view text) const
{
    qreal pen = 0;
    qreal first = 0, end = 0;
    bool any = false;
    for (const char c : text) {
        const Character& character = characters[static_cast<unsigned char>(c) & 127];
        if (character.inkRight > character.inkLeft) {
            if (!any)
                first = pen + character.inkLeft;
            end = pen + character.inkRight;
            any = true;
        }
        pen += character.advance;
    }
    if (!any)
        return {};
    return {static_cast<int>(std::floor(first)), static_cast<int>(std::ceil(end))};
}

LatticeFontMetrics LatticeFontMetrics::measure(const GlyphText& normalFont,
                                               const GlyphText& smallFont)
{
    const QFontMetrics normalMetrics(normalFont.font());
    LatticeFontMetrics fonts;
    fonts.digitWidth = normalMetrics.horizontalAdvance(QLatin1Char('0'));
    fonts.digitHeight = normalMetrics.height();
    fonts.normal = measureLayout(normalFont);
    fonts.small = measureLayout(smallFont);
    return fonts;
}

std::string LatticeGeometry::termText(std::uint32_t term)
{
    std::string text = std::to_string(term);
    if (text.size() < 3)
        text.insert(0, 3 - text.size(), ' ');
    return text;
}

std::string LatticeGeometry::centsText(double cents) { return formatFixed(cents, 1); }

LatticeGeometry::LatticeGeometry(const Lattice& lattice, QSize outerSize,
                                 const LatticeFontMetrics& fonts, const LimitFilter& limits)
    : lattice_(&lattice), limits_(limits), zoom_(fonts.zoom), outerSize_(outerSize)
{
    // The layout is chosen at 100 %; a zoom magnifies it, places and margins with the labels.
    const int plainWidth = outerSize.width() - 2 * fonts.digitWidth;
    const int plainHeight = outerSize.height() - 4 * fonts.digitHeight;
    smallLayout_ = !(plainWidth > 500 && plainHeight > 350);
    const auto zoomed = [this](int pixels) {
        return static_cast<int>(std::lround(pixels * zoom_));
    };
    drawWidth_ = zoomed(plainWidth);
    drawHeight_ = zoomed(plainHeight);
    marginX_ = zoomed(6 * fonts.digitWidth);
    marginY_ = zoomed(2 * fonts.digitHeight);

    const LatticeFontMetrics::Layout& layout = smallLayout_ ? fonts.small : fonts.normal;
    layout_ = layout;
    lineHeight_ = layout.lineHeight;
    ratioHitWidth_ = static_cast<int>(1.33 * layout.twoDigitsWidth + 0.5);
    ratioHitHeight_ = 2 * layout.lineHeight;
    centsHitWidth_ = layout.centsWidth;
    centsHitHeight_ = layout.lineHeight;
}

QSize LatticeGeometry::surfaceSize() const
{
    return {static_cast<int>(std::lround(outerSize_.width() * zoom_)),
            static_cast<int>(std::lround(outerSize_.height() * zoom_))};
}

QPoint LatticeGeometry::labelAt(const LatticeElement& element) const
{
    // The places lie inside the margin; of what is left, the right-hand 15 percent is for the
    // labels themselves. The products are taken in this order and truncated toward zero.
    return {marginX_ + static_cast<int>(element.plotX * 0.001 * spanX() * 0.85),
            marginY_ + static_cast<int>(element.plotY * 0.001 * spanY() * 0.85)};
}

QPoint LatticeGeometry::labelAt(int index) const
{
    const LatticeElement* element = lattice_->element(index);
    return element ? labelAt(*element) : QPoint();
}

bool LatticeGeometry::shows(int index) const
{
    const LatticeElement* element = lattice_->element(index);
    return element && shows(*element);
}

QPointF LatticeGeometry::anchor(const LatticeElement& element) const
{
    return QPointF(labelAt(element)) + QPointF(ratioHitWidth_ / 2.0, ratioHitHeight_ / 2.0);
}

QRect LatticeGeometry::box(const LatticeElement& element) const
{
    const bool ratio = element.isRatio();
    // The box's pixels run from `left` columns before the label's corner to `right` columns
    // after it; its edge takes the outer edgeWidth columns on either side.
    int left = 0;
    int right = ratio ? ratioHitWidth_ : centsHitWidth_;
    const auto holdInk = [&](const std::string& text) {
        const LatticeFontMetrics::Layout::Ink ink = layout_.ink(text);
        if (ink.end <= ink.first)
            return;
        left = std::max(left, edgeWidth - ink.first);
        right = std::max(right, ink.end - 1 + edgeWidth);
    };
    if (ratio) {
        holdInk(termText(element.numerator));
        holdInk(termText(element.denominator));
    } else {
        holdInk(centsText(element.cents));
    }
    const QPoint corner = labelAt(element);
    const int height = ratio ? ratioHitHeight_ : centsHitHeight_;
    return {corner.x() - left, corner.y(), left + right + 1, height + 1};
}

QRect LatticeGeometry::box(int index) const
{
    const LatticeElement* element = lattice_->element(index);
    return element ? box(*element) : QRect();
}

int LatticeGeometry::hitTest(QPoint at) const
{
    const int count = lattice_->count();
    const bool filtered = !limits_.showsAll();
    for (int i = 0; i < count; ++i) {
        const LatticeElement& element = *lattice_->element(i);
        if (filtered && !limits_.shows(element))
            continue;
        // Boxes grow only sideways, so most labels are passed over by their rows alone.
        const int top = labelAt(element).y();
        const int height = element.isRatio() ? ratioHitHeight_ : centsHitHeight_;
        if (at.y() < top || at.y() > top + height)
            continue;
        if (box(element).contains(at))
            return i;
    }
    return -1;
}

}  // namespace tv
