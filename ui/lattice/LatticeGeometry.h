#pragma once

#include "core/lattice/LimitFilter.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

class GlyphText;
class Lattice;
struct LatticeElement;

// The text measures a lattice picture is laid out with, taken once from its main fonts.
struct LatticeFontMetrics {
    // Where one ASCII character of a label puts the pen and its ink, in pixels from its
    // origin.
    struct Character {
        qreal advance = 0;
        qreal inkLeft = 0;
        qreal inkRight = 0;  // no wider than inkLeft: a blank
    };
    // What one main font gives a label.
    struct Layout {
        int lineHeight = 0;      // one numerator or denominator line, a cents label
        int twoDigitsWidth = 0;  // "00"
        int centsWidth = 0;      // "9999.9"
        std::array<Character, 128> characters{};

        // The pixel columns [first, end) that the ink of `text` drawn at 0 touches; empty
        // (end <= first) for a text of blanks.
        struct Ink {
            int first = 0;
            int end = 0;
        };
        Ink ink(std::string_view text) const;
    };
    // "0" in the normal font at 100 %: the margins of the drawing area, measured at 100 % and
    // magnified with the places.
    int digitWidth = 0;
    int digitHeight = 0;  // its line height
    // The label fonts below are this many times their size at 100 %.
    double zoom = 1.0;
    Layout normal;
    Layout small;

    static LatticeFontMetrics measure(const GlyphText& normalFont, const GlyphText& smallFont);
};

// Where each label of a lattice lies on a surface laid out for a window whose outer size is
// `outerSize`, and which label a point there hits. Painting and hit testing both ask it, so a
// click finds what a paint would draw without any paint having happened; positions are
// worked out on demand from the elements' plot coordinates, nothing is kept between uses.
// The lattice must outlive the geometry; the font measures are copied.
//
// A zoom magnifies the picture: the places, the margins and the labels (their fonts, and with
// them their boxes and exponent lines) grow together, so a point that hits an element at 100 %
// hits the same element, that many times as far from the origin, at every zoom. Which layout
// (normal or small fonts) a picture takes is chosen at 100 %.
// Elements the limit filter hides are neither drawn nor hit.
class LatticeGeometry {
public:
    LatticeGeometry(const Lattice& lattice, QSize outerSize, const LatticeFontMetrics& fonts,
                    const LimitFilter& limits = {});

    const Lattice& lattice() const { return *lattice_; }
    QSize outerSize() const { return outerSize_; }
    // The outer size times the zoom: all a picture can cover.
    QSize surfaceSize() const;
    // The usable area: the outer size less two character widths and four line heights, times
    // the zoom.
    int drawWidth() const { return drawWidth_; }
    int drawHeight() const { return drawHeight_; }
    // Small fonts unless the usable area at 100 % is wider than 500 and higher than 350.
    bool smallLayout() const { return smallLayout_; }
    int lineHeight() const { return lineHeight_; }
    double zoom() const { return zoom_; }
    const LimitFilter& limits() const { return limits_; }
    // Whether the limit filter lets the element be drawn, hit and played.
    bool shows(const LatticeElement& element) const { return limits_.shows(element); }
    bool shows(int index) const;

    // The least label box runs from the label's corner to the corner plus these, both edges
    // included. A box grows past them where its text would reach under its edge.
    int ratioHitWidth() const { return ratioHitWidth_; }
    int ratioHitHeight() const { return ratioHitHeight_; }
    int centsHitWidth() const { return centsHitWidth_; }
    int centsHitHeight() const { return centsHitHeight_; }
    // The places keep this far from the edges of the usable area, so that a label at the edge
    // (and what its ink reaches past its corner) is whole: six digits wide, as a cents label,
    // and two lines high, as a ratio label, in the normal font, times the zoom.
    int marginX() const { return marginX_; }
    int marginY() const { return marginY_; }
    // The usable area less the margins on both sides; plot positions stretch over 85 % of it.
    int spanX() const { return std::max(0, drawWidth_ - 2 * marginX_); }
    int spanY() const { return std::max(0, drawHeight_ - 2 * marginY_); }
    // The width of the box's raised or sunken edge, which lies inside the box.
    static constexpr int edgeWidth = 2;

    // What a label says: a numerator or denominator right-aligned in three columns ("%3d";
    // longer numbers in full), a size in cents with one decimal.
    static std::string termText(std::uint32_t term);
    static std::string centsText(double cents);

    // The top-left corner of the element's label; (0, 0) out of range.
    QPoint labelAt(int index) const;
    QPoint labelAt(const LatticeElement& element) const;
    // The pixels of the element's label box, edges included; a null rectangle out of range.
    // The text stays at the label's corner; the box holds at least the least size from there
    // and reaches far enough left and right that its edge covers none of the text's ink.
    QRect box(int index) const;
    QRect box(const LatticeElement& element) const;
    // Where lines between neighbours meet an element: the middle of a ratio's least box.
    QPointF anchor(const LatticeElement& element) const;
    // The lowest index whose label box holds the point, else -1. Labels that the display
    // options leave out are hit all the same; elements the limit filter hides are not.
    int hitTest(QPoint at) const;

private:
    const Lattice* lattice_;
    LatticeFontMetrics::Layout layout_;
    LimitFilter limits_;
    double zoom_;
    QSize outerSize_;
    int drawWidth_;
    int drawHeight_;
    bool smallLayout_;
    int marginX_;
    int marginY_;
    int lineHeight_;
    int ratioHitWidth_;
    int ratioHitHeight_;
    int centsHitWidth_;
    int centsHitHeight_;
};

}  // namespace tv
