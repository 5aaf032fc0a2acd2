#include "ui/lattice/LatticePainter.h"

#include "core/lattice/Lattice.h"

#include <QFontMetrics>
#include <QPainter>

#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace tv {
namespace {

QFont labelFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Helvetica"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

// A point size in pixels of a screen with `dpi` dots per inch, rounded.
int pointsToPixels(int points, double dpi)
{
    return std::max(1, static_cast<int>(std::lround(points * dpi / 72.0)));
}

// The bold exponent font whose character cell (ascent + descent) is `cellHeight` pixels.
QFont exponentFontForCell(int cellHeight)
{
    for (int size = cellHeight; size > 1; --size) {
        QFont font = labelFont(size, true);
        if (QFontMetrics(font).height() <= cellHeight)
            return font;
    }
    return labelFont(1, true);
}

QColor fromRgb(Rgb rgb) { return QColor::fromRgb(rgb); }

// Fills the text's cell with `fill`, then draws the text on it.
void drawOpaque(QPainter& painter, const GlyphText& font, const QRect& cell, std::string_view text,
                const QColor& textColour, const QColor& fill)
{
    painter.fillRect(cell, fill);
    painter.setPen(textColour);
    font.draw(painter, cell.x(), cell.y(), text);
}

// Where one element's label parts go and what they say. Every part is opaque: the text
// cells are filled before their characters are drawn, and the box is a solid two-pixel ring.
struct Label {
    std::string topText, bottomText, exponentText;
    QRect top, bottom, exponent, box;
    bool hasBox = false;

    // The box's ring as four bands.
    std::array<QRect, 4> ring() const
    {
        return {QRect(box.left(), box.top(), box.width(), 2),
                QRect(box.left(), box.bottom() - 1, box.width(), 2),
                QRect(box.left(), box.top(), 2, box.height()),
                QRect(box.right() - 1, box.top(), 2, box.height())};
    }

    // Glyphs may reach a pixel past their cell; those pixels count as the label's own.
    bool hiddenUnder(const CoverageMask& mask) const
    {
        for (const QRect* cell : {&top, &bottom, &exponent}) {
            if (!cell->isNull() && !mask.covered(cell->adjusted(-1, 0, 1, 0)))
                return false;
        }
        if (hasBox) {
            for (const QRect& band : ring()) {
                if (!mask.covered(band))
                    return false;
            }
        }
        return true;
    }

    void coverOn(CoverageMask& mask) const
    {
        for (const QRect* cell : {&top, &bottom, &exponent}) {
            if (!cell->isNull())
                mask.cover(*cell);
        }
        if (hasBox) {
            for (const QRect& band : ring())
                mask.cover(band);
        }
    }
};

Label layoutLabel(const LatticeElement& element, const LatticeDrawOptions& options,
                  const LatticeGeometry& geometry, const GlyphText& main, const GlyphText& exponent)
{
    Label label;
    const QPoint corner = geometry.labelAt(element);
    const int x = corner.x();
    int y = corner.y();
    const int lineHeight = geometry.lineHeight();
    if (element.isRatio()) {
        if (options.showRatios) {
            label.topText = LatticeGeometry::termText(element.numerator);
            label.bottomText = LatticeGeometry::termText(element.denominator);
            label.top = QRect(x, y, main.width(label.topText), main.height());
            label.bottom = QRect(x, y + lineHeight, main.width(label.bottomText), main.height());
            label.box = geometry.box(element);
            label.hasBox = true;
            y += 2 * lineHeight;
        }
        if (options.showExponents) {
            label.exponentText = tv::exponentText(element);
            label.exponent = QRect(x, y, exponent.width(label.exponentText), exponent.height());
        }
    } else if (options.showRatios) {
        label.topText = LatticeGeometry::centsText(element.cents);
        label.top = QRect(x, y, main.width(label.topText), main.height());
        label.box = geometry.box(element);
        label.hasBox = true;
    }
    // A box too small for its ring is not drawn.
    if (label.hasBox && (label.box.width() < 4 || label.box.height() < 4))
        label.hasBox = false;
    return label;
}

}  // namespace

LatticePainter::LatticePainter(double screenDpiY)
    : main_(labelFont(pointsToPixels(8, screenDpiY), false)),
      mainSmall_(labelFont(pointsToPixels(6, screenDpiY), false)),
      exponent_(exponentFontForCell(11)), exponentSmall_(exponentFontForCell(8)),
      metrics_(LatticeFontMetrics::measure(main_, mainSmall_))
{
}

int LatticePainter::drawLattice(QPainter& painter, const LatticeGeometry& geometry,
                                const LatticeDrawOptions& options)
{
    const Lattice& lattice = geometry.lattice();
    const int width = geometry.outerSize().width();
    const int height = geometry.outerSize().height();
    painter.fillRect(QRect(0, 0, width, height), options.background);

    const GlyphText& mainText = geometry.smallLayout() ? mainSmall_ : main_;
    const GlyphText& exponentText = geometry.smallLayout() ? exponentSmall_ : exponent_;
    const QPalette palette;
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const int count = lattice.count();

    // Later labels lie on top of earlier ones. Walking from the top down, a label whose every
    // pixel is already covered cannot be seen and is left out; what is drawn is the same.
    coverage_.reset(painter.device() ? painter.device()->width() : width,
                    painter.device() ? painter.device()->height() : height);
    std::vector<std::pair<int, Label>> shown;
    for (int i = count - 1; i >= 0; --i) {
        Label label = layoutLabel(*lattice.element(i), options, geometry, mainText, exponentText);
        if (skipHidden_) {
            if (label.hiddenUnder(coverage_))
                continue;
            label.coverOn(coverage_);
        }
        shown.emplace_back(i, std::move(label));
    }

    // Drawn bottom up: `shown` runs from the top label down.
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        const int i = it->first;
        const Label& label = it->second;
        const LatticeElement& element = *lattice.element(i);
        if (element.isRatio()) {
            if (options.showRatios) {
                drawOpaque(painter, mainText, label.top, label.topText,
                           fromRgb(lattice.numeratorTextColour(i)),
                           fromRgb(lattice.numeratorFillColour(i)));
                drawOpaque(painter, mainText, label.bottom, label.bottomText,
                           fromRgb(lattice.denominatorTextColour(i)),
                           fromRgb(lattice.denominatorFillColour(i)));
            }
            if (options.showExponents)
                drawOpaque(painter, exponentText, label.exponent, label.exponentText, black,
                           options.background);
        } else if (options.showRatios) {
            drawOpaque(painter, mainText, label.top, label.topText, black, white);
        }
        if (label.hasBox)
            drawBox(painter, geometry, i, element.selected, palette);
    }
    return count;
}

void LatticePainter::drawBox(QPainter& painter, const LatticeGeometry& geometry, int index,
                             bool raised, const QPalette& palette)
{
    const QRect box = geometry.box(index);
    const int w = box.width();
    const int h = box.height();
    if (w < 4 || h < 4)  // also out of range: the box is empty
        return;
    const int left = box.left();
    const int top = box.top();
    const int right = box.right();
    const int bottom = box.bottom();
    // Two rings: raised boxes are light at the top and left, dark at the bottom and right;
    // sunken boxes the other way round.
    const QColor outerLight =
        raised ? palette.color(QPalette::Midlight) : palette.color(QPalette::Dark);
    const QColor outerDark =
        raised ? palette.color(QPalette::Shadow) : palette.color(QPalette::Light);
    const QColor innerLight =
        raised ? palette.color(QPalette::Light) : palette.color(QPalette::Shadow);
    const QColor innerDark =
        raised ? palette.color(QPalette::Dark) : palette.color(QPalette::Midlight);
    painter.fillRect(QRect(left, top, w, 1), outerLight);
    painter.fillRect(QRect(left, top, 1, h), outerLight);
    painter.fillRect(QRect(left, bottom, w, 1), outerDark);
    painter.fillRect(QRect(right, top, 1, h), outerDark);
    painter.fillRect(QRect(left + 1, top + 1, w - 2, 1), innerLight);
    painter.fillRect(QRect(left + 1, top + 1, 1, h - 2), innerLight);
    painter.fillRect(QRect(left + 1, bottom - 1, w - 2, 1), innerDark);
    painter.fillRect(QRect(right - 1, top + 1, 1, h - 2), innerDark);
}

}  // namespace tv
