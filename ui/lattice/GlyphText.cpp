#include "ui/lattice/GlyphText.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>

#include <cmath>

namespace tv {

GlyphText::GlyphText(const QFont& font) : font_(font), raw_(QRawFont::fromFont(font))
{
    const QFontMetrics metrics(font);
    ascent_ = metrics.ascent();
    height_ = metrics.height();
    QString printable;
    for (char c = 32; c < 127; ++c)
        printable += QLatin1Char(c);
    const QList<quint32> indexes = raw_.glyphIndexesForString(printable);
    if (indexes.size() != printable.size())
        return;
    const QList<QPointF> advances = raw_.advancesForGlyphIndexes(indexes);
    for (int i = 0; i < printable.size(); ++i) {
        glyphs_[32 + i] = indexes[i];
        advances_[32 + i] = i < advances.size() ? advances[i].x() : 0;
    }
}

int GlyphText::width(std::string_view text) const
{
    qreal total = 0;
    for (const char c : text)
        total += advances_[static_cast<unsigned char>(c) & 127];
    return static_cast<int>(std::ceil(total));
}

QRectF GlyphText::inkBounds(char c) const
{
    const unsigned code = static_cast<unsigned char>(c) & 127;
    if (c == ' ' || code < 32 || !raw_.isValid())
        return {};
    // Glyph bounds are given from the baseline; text lines are placed by their top.
    return raw_.boundingRect(glyphs_[code]).translated(0, ascent_);
}

void GlyphText::draw(QPainter& painter, int x, int top, std::string_view text) const
{
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(static_cast<qsizetype>(text.size()));
    positions.reserve(static_cast<qsizetype>(text.size()));
    qreal pen = 0;
    for (const char c : text) {
        const unsigned code = static_cast<unsigned char>(c) & 127;
        if (c != ' ') {
            indexes.append(glyphs_[code]);
            positions.append(QPointF(pen, 0));
        }
        pen += advances_[code];
    }
    if (indexes.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(x, top + ascent_), run);
}

}  // namespace tv
