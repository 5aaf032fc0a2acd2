#include "ui/lattice/LatticePainter.h"

#include "lattice/Lattice.h"
#include "lattice/NumberText.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <string>

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

// "%3d" for an unsigned value: right-aligned in three columns, wider when it needs more.
std::string rightAligned3(std::uint32_t value)
{
    std::string text = std::to_string(value);
    if (text.size() < 3)
        text.insert(0, 3 - text.size(), ' ');
    return text;
}

// Fills the text's cell with `fill`, then draws the text on it.
void drawOpaque(QPainter& painter, const GlyphText& font, int x, int y, std::string_view text,
                const QColor& textColour, const QColor& fill)
{
    painter.fillRect(QRect(x, y, font.width(text), font.height()), fill);
    painter.setPen(textColour);
    font.draw(painter, x, y, text);
}

}  // namespace

LatticePainter::LatticePainter(double screenDpiY)
    : main_(labelFont(pointsToPixels(8, screenDpiY), false)),
      mainSmall_(labelFont(pointsToPixels(6, screenDpiY), false)),
      exponent_(exponentFontForCell(11)),
      exponentSmall_(exponentFontForCell(8))
{
}

int LatticePainter::drawLattice(QPainter& painter, Lattice& lattice, QSize outerSize,
                                const LatticeDrawOptions& options)
{
    const int width = outerSize.width();
    const int height = outerSize.height();
    painter.fillRect(QRect(0, 0, width, height), options.background);

    const QFontMetrics normal(main_.font());
    const int cw = normal.horizontalAdvance(QLatin1Char('0'));
    const int ch = normal.height();
    drawWidth_ = width - 2 * cw;
    drawHeight_ = height - 4 * ch;
    smallLayout_ = !(drawWidth_ > 500 && drawHeight_ > 350);

    const GlyphText& mainText = smallLayout_ ? mainSmall_ : main_;
    const GlyphText& exponentText = smallLayout_ ? exponentSmall_ : exponent_;
    const QFontMetrics metrics(mainText.font());
    const int lineHeight = metrics.height();
    const int w2 = metrics.horizontalAdvance(QStringLiteral("00"));
    lattice.setRatioHitSize(static_cast<int>(1.33 * w2 + 0.5), 2 * lineHeight);
    lattice.setCentsHitSize(metrics.horizontalAdvance(QStringLiteral("9999.9")), lineHeight);

    const QPalette palette;
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const int count = lattice.count();
    for (int i = 0; i < count; ++i) {
        const LatticeElement& element = *lattice.element(i);
        const int x = static_cast<int>(element.plotX * 0.001 * drawWidth_ * 0.85);
        int y = static_cast<int>(element.plotY * 0.001 * drawHeight_ * 0.85);
        lattice.setScreenX(i, x);
        lattice.setScreenY(i, y);
        if (element.isRatio()) {
            if (options.showRatios) {
                drawOpaque(painter, mainText, x, y, rightAligned3(element.numerator),
                           fromRgb(lattice.numeratorTextColour(i)),
                           fromRgb(lattice.numeratorFillColour(i)));
                drawOpaque(painter, mainText, x, y + lineHeight,
                           rightAligned3(element.denominator),
                           fromRgb(lattice.denominatorTextColour(i)),
                           fromRgb(lattice.denominatorFillColour(i)));
                y += 2 * lineHeight;
            }
            if (options.showExponents)
                drawOpaque(painter, exponentText, x, y, tv::exponentText(element), black,
                           options.background);
        } else if (options.showRatios) {
            drawOpaque(painter, mainText, x, y, formatFixed(element.cents, 1), black, white);
        }
        if (options.showRatios)
            drawBox(painter, lattice, i, element.selected, palette);
    }
    return count;
}

void LatticePainter::drawBox(QPainter& painter, const Lattice& lattice, int index, bool raised,
                             const QPalette& palette)
{
    const LatticeElement* element = lattice.element(index);
    if (!element)
        return;
    const bool ratio = element->isRatio();
    const int left = element->screenX;
    const int top = element->screenY;
    const int right = left + (ratio ? lattice.ratioHitWidth() : lattice.centsHitWidth());
    const int bottom = top + (ratio ? lattice.ratioHitHeight() : lattice.centsHitHeight());
    const int w = right - left + 1;
    const int h = bottom - top + 1;
    if (w < 4 || h < 4)
        return;
    // Two rings: raised boxes are light at the top and left, dark at the bottom and right;
    // sunken boxes the other way round.
    const QColor outerLight = raised ? palette.color(QPalette::Midlight) : palette.color(QPalette::Dark);
    const QColor outerDark = raised ? palette.color(QPalette::Shadow) : palette.color(QPalette::Light);
    const QColor innerLight = raised ? palette.color(QPalette::Light) : palette.color(QPalette::Shadow);
    const QColor innerDark = raised ? palette.color(QPalette::Dark) : palette.color(QPalette::Midlight);
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
