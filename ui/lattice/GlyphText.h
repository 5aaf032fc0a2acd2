#pragma once

#include <QFont>
#include <QRawFont>
#include <QRectF>

#include <array>
#include <string_view>

class QPainter;

namespace tv {

// Draws short ASCII labels (numbers, exponent lines) straight from a font's glyphs, without
// the shaping that general text drawing does for every call: a large lattice paints tens of
// thousands of labels, and these need no shaping.
class GlyphText {
public:
    explicit GlyphText(const QFont& font);

    const QFont& font() const { return font_; }
    int width(std::string_view text) const;
    int height() const { return height_; }
    // How far one character moves the pen, and where its ink lies from its origin (top-left
    // origin of the text line; empty for a blank).
    qreal advance(char c) const { return advances_[static_cast<unsigned char>(c) & 127]; }
    QRectF inkBounds(char c) const;
    // Draws `text` with its top-left corner at (x, top), in the painter's pen colour.
    void draw(QPainter& painter, int x, int top, std::string_view text) const;

private:
    QFont font_;
    QRawFont raw_;
    std::array<quint32, 128> glyphs_{};
    std::array<qreal, 128> advances_{};
    qreal ascent_ = 0;
    int height_ = 0;
};

}  // namespace tv
