#pragma once

#include "core/lattice/NeighbourPairs.h"
#include "ui/lattice/CoverageMask.h"
#include "ui/lattice/GlyphText.h"
#include "ui/lattice/LatticeGeometry.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPalette>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class QPainter;

namespace tv {

// What a lattice picture shows.
struct LatticeDrawOptions {
    bool showRatios = true;     // numerator and denominator strips, cents labels and boxes
    bool showExponents = true;  // the exponent line under a ratio
    // In the lattice style, a line under the labels between every two ratios one prime step
    // apart, in that prime's limit colour.
    bool showLines = false;
    // In the planetary style, the circle the pitches stand on, under the labels.
    bool showCircle = false;
    QColor background = QColor(135, 206, 250);  // light sky blue
    // Labels drawn as pressed while not selected (by element index): the pitches a MIDI
    // keyboard sounds.
    std::vector<bool> lit;
    // Text under each label (by element index): the MIDI keys that play it; none when empty.
    std::vector<std::string> keyLabels;
    // An empty lattice shows how to get one, in the middle of `area`, or else of this area
    // from the top left (the outer size when empty).
    QSize visibleSize;
    // The part of the picture to draw, as a scrolled window shows it: labels and lines wholly
    // outside it are passed over. The whole surface when empty.
    QRect area;
};

// A line of the picture between two neighbours, its colour and its prime (an index into
// primeTable).
struct NeighbourLine {
    QLineF line;
    QColor colour;
    int prime = 0;
};

// Paints a lattice on any surface (the window, a printer page, an image) at the places its
// geometry gives. Fonts are made once, with pixel heights taken from the screen's
// resolution, so a printed picture keeps the screen's pixel sizes.
class LatticePainter {
public:
    static inline const QString emptyHint =
        QStringLiteral("File > New, File > Open, or drop a .scl file here");
    // The zoom range; fonts are built for zooms in it.
    static constexpr double minZoom = 0.5;
    static constexpr double maxZoom = 4.0;

    explicit LatticePainter(double screenDpiY);

    // Label fonts this many times their size (clamped to the zoom range); a geometry made
    // with the measures magnifies the places with them. Fonts and measures are made again
    // only when the zoom changes.
    void setZoom(double zoom);
    double zoom() const { return metrics_.zoom; }

    // What the fonts measure, for laying out a picture.
    const LatticeFontMetrics& metrics() const { return metrics_; }

    // Paints the whole lattice of `geometry`, origin at the top left of the drawing area.
    // Gives the number of elements.
    int drawLattice(QPainter& painter, const LatticeGeometry& geometry,
                    const LatticeDrawOptions& options);

    // The rectangle that holds every label the picture shows (text, box, selection ring,
    // exponent line and key labels); null when none is shown.
    QRect labelBounds(const LatticeGeometry& geometry, const LatticeDrawOptions& options) const;

    // The raised (selected) or sunken border of one element's label box.
    static void drawBox(QPainter& painter, const LatticeGeometry& geometry, int index, bool raised,
                        const QPalette& palette);
    // The ring outside a selected element's box, in the palette's highlight colour: its
    // outer rectangle, and its width.
    static QRect selectionRing(const LatticeGeometry& geometry, int index);
    static int selectionRingWidth(const LatticeGeometry& geometry);

    // The lines `drawLattice` draws between neighbours shown by the geometry's filter, one per
    // two neighbouring places (octaves of each other share a place), in drawing order; none
    // outside the lattice style or with lines off.
    static std::vector<NeighbourLine> neighbourLines(const LatticeGeometry& geometry,
                                                     const LatticeDrawOptions& options);

    // Labels that later labels cover completely are left out (on by default); the picture
    // is the same either way.
    void setSkipHiddenLabels(bool skip) { skipHidden_ = skip; }

    const QFont& mainFont(bool small) const { return small ? mainSmall_.font() : main_.font(); }
    const QFont& exponentFont(bool small) const
    {
        return small ? exponentSmall_.font() : exponent_.font();
    }

private:
    void makeFonts(double zoom);
    // Lines between neighbours, or the circle, as the options and the style ask.
    void drawUnderLabels(QPainter& painter, const LatticeGeometry& geometry,
                         const LatticeDrawOptions& options);
    static std::vector<NeighbourLine> linesOf(const LatticeGeometry& geometry,
                                              const std::vector<NeighbourPair>& pairs);
    // The pairs of places the geometry shows, kept while the lattice's exponents and what the
    // filter shows stay the same.
    const std::vector<NeighbourPair>& shownPairs(const LatticeGeometry& geometry);

    double screenDpiY_;
    GlyphText main_;
    GlyphText mainSmall_;
    GlyphText exponent_;
    GlyphText exponentSmall_;
    LatticeFontMetrics metrics_;
    CoverageMask coverage_;
    bool skipHidden_ = true;
    std::vector<NeighbourPair> pairs_;
    std::uint64_t pairsKey_ = 0;
    bool pairsKnown_ = false;
};

}  // namespace tv
