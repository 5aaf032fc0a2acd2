#include "ui/lattice/LatticePainter.h"

#include "core/lattice/Lattice.h"
#include "core/lattice/NeighbourPairs.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
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

// A point size in pixels of a screen with `dpi` dots per inch, times `zoom`, rounded.
int pointsToPixels(int points, double dpi, double zoom = 1.0)
{
    return std::max(1, static_cast<int>(std::lround(points * dpi / 72.0 * zoom)));
}

int zoomed(int pixels, double zoom)
{
    return std::max(1, static_cast<int>(std::lround(pixels * zoom)));
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

// The limit colour of primeTable[prime].
QColor primeLineColour(int prime)
{
    const auto p = static_cast<std::uint32_t>(primeTable[static_cast<std::size_t>(prime)]);
    return fromRgb(limitFillColours[static_cast<std::size_t>(limitColourIndex(p))]);
}

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
// Four bands `width` pixels wide along the inside of `rect`.
std::array<QRect, 4> bands(const QRect& rect, int width)
{
    return {QRect(rect.left(), rect.top(), rect.width(), width),
            QRect(rect.left(), rect.bottom() - width + 1, rect.width(), width),
            QRect(rect.left(), rect.top(), width, rect.height()),
            QRect(rect.right() - width + 1, rect.top(), width, rect.height())};
}

struct Label {
    std::string topText, bottomText, exponentText, keysText;
    // `keys` holds the keys that play the element, in small print just under the label.
    QRect top, bottom, exponent, keys, box;
    // The limits whose colours the numerator and the denominator take.
    std::uint32_t oLimit = 1, uLimit = 1;
    bool hasBox = false;
    bool pressed = false;  // selected, or sounding from a MIDI keyboard
    // A selected element's highlight, outside its box.
    QRect highlight;
    int highlightWidth = 0;

    // Puts the keys under the rest; none under a label with nothing drawn.
    void placeKeys(const std::string& text, const GlyphText& font)
    {
        QRect above = hasBox ? box : top;
        for (const QRect* cell : {&bottom, &exponent}) {
            if (!cell->isNull())
                above = above.united(*cell);
        }
        if (text.empty() || above.isNull())
            return;
        keysText = text;
        keys = QRect(above.left(), above.bottom() + 2, font.width(text), font.height());
    }

    // Everything the label draws.
    QRect bounds() const
    {
        QRect all = highlightWidth > 0 ? highlight : box;
        for (const QRect* cell : {&top, &bottom, &exponent, &keys})
            all = all.united(*cell);
        return all;
    }

    // The box's ring as four bands.
    std::array<QRect, 4> ring() const { return bands(box, 2); }

    // Glyphs may reach a pixel past their cell; those pixels count as the label's own.
    bool hiddenUnder(const CoverageMask& mask) const
    {
        for (const QRect* cell : {&top, &bottom, &exponent, &keys}) {
            if (!cell->isNull() && !mask.covered(cell->adjusted(-1, 0, 1, 0)))
                return false;
        }
        if (hasBox) {
            for (const QRect& band : ring()) {
                if (!mask.covered(band))
                    return false;
            }
        }
        if (highlightWidth > 0) {
            for (const QRect& band : bands(highlight, highlightWidth)) {
                if (!mask.covered(band))
                    return false;
            }
        }
        return true;
    }

    void coverOn(CoverageMask& mask) const
    {
        for (const QRect* cell : {&top, &bottom, &exponent, &keys}) {
            if (!cell->isNull())
                mask.cover(*cell);
        }
        if (hasBox) {
            for (const QRect& band : ring())
                mask.cover(band);
        }
        if (highlightWidth > 0) {
            for (const QRect& band : bands(highlight, highlightWidth))
                mask.cover(band);
        }
    }
};

Label layoutLabel(const LatticeElement& element, bool pressed, const LatticeDrawOptions& options,
                  const LatticeGeometry& geometry, const GlyphText& main, const GlyphText& exponent)
{
    Label label;
    // Only the lattice style keeps an element's exponents and limits; in any other the label
    // shows those of its ratio all the same.
    LatticeElement analysed;
    const LatticeElement* marks = &element;
    if (element.isRatio() && geometry.lattice().style() != Lattice::latticeStyle) {
        factorise(analysed, element.numerator, +1);
        factorise(analysed, element.denominator, -1);
        computeLimits(analysed);
        marks = &analysed;
    }
    label.oLimit = marks->oLimit;
    label.uLimit = marks->uLimit;
    label.pressed = pressed;
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
            label.exponentText = exponentLine(*marks);
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
    if (label.hasBox && pressed) {
        label.highlightWidth = LatticePainter::selectionRingWidth(geometry);
        label.highlight = label.box.adjusted(-label.highlightWidth, -label.highlightWidth,
                                             label.highlightWidth, label.highlightWidth);
    }
    return label;
}

const std::string& keysOf(const LatticeDrawOptions& options, int index)
{
    static const std::string none;
    const auto i = static_cast<std::size_t>(index);
    return i < options.keyLabels.size() ? options.keyLabels[i] : none;
}

// Whether a label at `corner` may reach into `area`: labels reach right and down from their
// corner, a little left and up (box edges, the selection ring), and no more than `tallest`
// down. Only a quick first sieve; the laid-out label decides.
bool mayReach(QPoint corner, const QRect& area, int slack, int tallest)
{
    return corner.x() <= area.right() + slack && corner.y() <= area.bottom() + slack &&
           corner.y() + tallest >= area.top();
}

// Whether the segment misses the rectangle: its bounding box does, or all four corners of
// the rectangle lie on one side of it.
bool misses(const QLineF& line, const QRectF& area)
{
    const qreal x1 = line.x1(), y1 = line.y1(), x2 = line.x2(), y2 = line.y2();
    if (std::max(x1, x2) < area.left() || std::min(x1, x2) > area.right() ||
        std::max(y1, y2) < area.top() || std::min(y1, y2) > area.bottom())
        return true;
    const qreal dx = x2 - x1, dy = y2 - y1;
    int above = 0, below = 0;
    for (const QPointF corner :
         {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
        const qreal side = dx * (corner.y() - y1) - dy * (corner.x() - x1);
        above += side > 0;
        below += side < 0;
    }
    return above == 4 || below == 4;
}

}  // namespace

LatticePainter::LatticePainter(double screenDpiY)
    : screenDpiY_(screenDpiY), main_(labelFont(pointsToPixels(8, screenDpiY), false)),
      mainSmall_(labelFont(pointsToPixels(6, screenDpiY), false)),
      exponent_(exponentFontForCell(11)), exponentSmall_(exponentFontForCell(8)),
      metrics_(LatticeFontMetrics::measure(main_, mainSmall_))
{
}

void LatticePainter::setZoom(double zoom)
{
    zoom = std::clamp(zoom, minZoom, maxZoom);
    if (zoom != metrics_.zoom)
        makeFonts(zoom);
}

void LatticePainter::makeFonts(double zoom)
{
    main_ = GlyphText(labelFont(pointsToPixels(8, screenDpiY_, zoom), false));
    mainSmall_ = GlyphText(labelFont(pointsToPixels(6, screenDpiY_, zoom), false));
    exponent_ = GlyphText(exponentFontForCell(zoomed(11, zoom)));
    exponentSmall_ = GlyphText(exponentFontForCell(zoomed(8, zoom)));
    // The margins are measured at 100 %; the geometry magnifies them with the places.
    const LatticeFontMetrics plain = LatticeFontMetrics::measure(
        GlyphText(labelFont(pointsToPixels(8, screenDpiY_), false)), mainSmall_);
    metrics_ = LatticeFontMetrics::measure(main_, mainSmall_);
    metrics_.digitWidth = plain.digitWidth;
    metrics_.digitHeight = plain.digitHeight;
    metrics_.zoom = zoom;
}

int LatticePainter::selectionRingWidth(const LatticeGeometry& geometry)
{
    return zoomed(2, geometry.zoom());
}

QRect LatticePainter::selectionRing(const LatticeGeometry& geometry, int index)
{
    const int width = selectionRingWidth(geometry);
    const QRect box = geometry.box(index);
    return box.isNull() ? QRect() : box.adjusted(-width, -width, width, width);
}

std::vector<NeighbourLine> LatticePainter::neighbourLines(const LatticeGeometry& geometry,
                                                          const LatticeDrawOptions& options)
{
    if (!options.showLines || geometry.lattice().style() != Lattice::latticeStyle)
        return {};
    const auto shown = [&](const LatticeElement& element) { return geometry.shows(element); };
    return linesOf(geometry, distinctNeighbourPairs(geometry.lattice(), shown));
}

std::vector<NeighbourLine> LatticePainter::linesOf(const LatticeGeometry& geometry,
                                                   const std::vector<NeighbourPair>& pairs)
{
    std::vector<NeighbourLine> lines;
    lines.reserve(pairs.size());
    const Lattice& lattice = geometry.lattice();
    for (const NeighbourPair& pair : pairs) {
        lines.push_back({QLineF(geometry.anchor(*lattice.element(pair.lower)),
                                geometry.anchor(*lattice.element(pair.upper))),
                         primeLineColour(pair.prime), pair.prime});
    }
    return lines;
}

const std::vector<NeighbourPair>& LatticePainter::shownPairs(const LatticeGeometry& geometry)
{
    // The pairs follow from the ratios' exponents and what the filter shows, not from the
    // window's size or zoom: a repaint of an unchanged lattice (a resize, a zoom, a changed
    // selection) finds them here.
    const Lattice& lattice = geometry.lattice();
    std::uint64_t key = 14695981039346656037ull;
    const auto mix = [&key](std::uint64_t v) { key = (key ^ v) * 1099511628211ull; };
    const int count = lattice.count();
    mix(static_cast<std::uint64_t>(count));
    for (int i = 0; i < count; ++i) {
        const LatticeElement& element = *lattice.element(i);
        mix(element.isRatio() && geometry.shows(element) ? 1 : 0);
        for (const std::int32_t e : element.exponents)
            mix(static_cast<std::uint32_t>(e));
    }
    if (!pairsKnown_ || key != pairsKey_) {
        const auto shown = [&](const LatticeElement& element) { return geometry.shows(element); };
        pairs_ = distinctNeighbourPairs(lattice, shown);
        pairsKey_ = key;
        pairsKnown_ = true;
    }
    return pairs_;
}

int LatticePainter::drawLattice(QPainter& painter, const LatticeGeometry& geometry,
                                const LatticeDrawOptions& options)
{
    const Lattice& lattice = geometry.lattice();
    const QRect& area = options.area;
    const int width = geometry.surfaceSize().width();
    const int height = geometry.surfaceSize().height();
    painter.fillRect(area.isEmpty() ? QRect(0, 0, width, height) : area, options.background);

    const GlyphText& mainText = geometry.smallLayout() ? mainSmall_ : main_;
    const GlyphText& exponentText = geometry.smallLayout() ? exponentSmall_ : exponent_;
    const QPalette palette;
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const int count = lattice.count();
    if (count == 0) {
        const QSize visible =
            options.visibleSize.isEmpty() ? geometry.outerSize() : options.visibleSize;
        painter.setPen(black);
        painter.setFont(mainText.font());
        painter.drawText(area.isEmpty() ? QRect(QPoint(0, 0), visible) : area, Qt::AlignCenter,
                         emptyHint);
        return 0;
    }
    drawUnderLabels(painter, geometry, options);

    // Later labels lie on top of earlier ones. Walking from the top down, a label whose every
    // pixel is already covered cannot be seen and is left out; what is drawn is the same.
    coverage_.reset(!area.isEmpty() ? area
                    : painter.device()
                        ? QRect(0, 0, painter.device()->width(), painter.device()->height())
                        : QRect(0, 0, width, height));
    std::vector<std::pair<int, Label>> shown;
    const bool filtered = !geometry.limits().showsAll();
    // A ratio label, its exponent line, its keys and its ring are at most about five lines.
    const int slack = geometry.lineHeight() + selectionRingWidth(geometry);
    const int tallest = 5 * geometry.lineHeight() + slack;
    for (int i = count - 1; i >= 0; --i) {
        const LatticeElement& element = *lattice.element(i);
        if (filtered && !geometry.shows(element))
            continue;
        if (!area.isEmpty() && !mayReach(geometry.labelAt(element), area, slack, tallest))
            continue;
        const bool lit = static_cast<std::size_t>(i) < options.lit.size() &&
                         options.lit[static_cast<std::size_t>(i)];
        Label label = layoutLabel(element, element.selected || lit, options, geometry, mainText,
                                  exponentText);
        label.placeKeys(keysOf(options, i), mainSmall_);
        if (!area.isEmpty() && !label.bounds().intersects(area))
            continue;
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
                const auto over = static_cast<std::size_t>(limitColourIndex(label.oLimit));
                const auto under = static_cast<std::size_t>(limitColourIndex(label.uLimit));
                drawOpaque(painter, mainText, label.top, label.topText,
                           fromRgb(limitTextColours[over]), fromRgb(limitFillColours[over]));
                drawOpaque(painter, mainText, label.bottom, label.bottomText,
                           fromRgb(limitTextColours[under]), fromRgb(limitFillColours[under]));
            }
            if (options.showExponents)
                drawOpaque(painter, exponentText, label.exponent, label.exponentText, black,
                           options.background);
        } else if (options.showRatios) {
            drawOpaque(painter, mainText, label.top, label.topText, black, white);
        }
        if (label.hasBox)
            drawBox(painter, geometry, i, label.pressed, palette);
        if (!label.keys.isNull())
            drawOpaque(painter, mainSmall_, label.keys, label.keysText, black, options.background);
        if (label.highlightWidth > 0) {
            for (const QRect& band : bands(label.highlight, label.highlightWidth))
                painter.fillRect(band, palette.color(QPalette::Highlight));
        }
    }
    return count;
}

void LatticePainter::drawUnderLabels(QPainter& painter, const LatticeGeometry& geometry,
                                     const LatticeDrawOptions& options)
{
    const int style = geometry.lattice().style();
    const bool lines = options.showLines && style == Lattice::latticeStyle;
    const bool circle = options.showCircle && style == Lattice::planetaryStyle;
    if (!lines && !circle)
        return;
    painter.save();
    const qreal width = std::max(1.0, std::round(geometry.zoom()));
    if (lines) {
        // One pen per prime and one call per pen.
        std::array<std::vector<QLineF>, primeTable.size()> byPrime;
        // Lines that miss the area drawn, with the pen's width around it, are not drawn.
        const QRectF area = QRectF(options.area).adjusted(-width, -width, width, width);
        for (const NeighbourLine& line : linesOf(geometry, shownPairs(geometry))) {
            if (!options.area.isEmpty() && misses(line.line, area))
                continue;
            byPrime[static_cast<std::size_t>(line.prime)].push_back(line.line);
        }
        for (std::size_t prime = 0; prime < byPrime.size(); ++prime) {
            if (byPrime[prime].empty())
                continue;
            painter.setPen(QPen(primeLineColour(static_cast<int>(prime)), width));
            painter.drawLines(byPrime[prime].data(), static_cast<int>(byPrime[prime].size()));
        }
    }
    if (circle) {
        // The planetary places lie on a circle of radius 500 around (500, 500), which the
        // window stretches on each axis like every plot position.
        const qreal rx = 500 * 0.001 * geometry.spanX() * 0.85;
        const qreal ry = 500 * 0.001 * geometry.spanY() * 0.85;
        // Like the lines, it runs through the middles of the least ratio boxes.
        const QPointF centre(geometry.marginX() + rx + geometry.ratioHitWidth() / 2.0,
                             geometry.marginY() + ry + geometry.ratioHitHeight() / 2.0);
        painter.setPen(QPen(QColor(64, 64, 64), width));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, rx, ry);
    }
    painter.restore();
}

QRect LatticePainter::labelBounds(const LatticeGeometry& geometry,
                                  const LatticeDrawOptions& options) const
{
    const GlyphText& mainText = geometry.smallLayout() ? mainSmall_ : main_;
    const GlyphText& exponentText = geometry.smallLayout() ? exponentSmall_ : exponent_;
    const Lattice& lattice = geometry.lattice();
    QRect all;
    for (int i = 0; i < lattice.count(); ++i) {
        const LatticeElement& element = *lattice.element(i);
        if (!geometry.shows(element))
            continue;
        Label label =
            layoutLabel(element, element.selected, options, geometry, mainText, exponentText);
        label.placeKeys(keysOf(options, i), mainSmall_);
        all = all.united(label.bounds());
    }
    return all;
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
