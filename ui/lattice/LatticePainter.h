#pragma once

#include "ui/lattice/CoverageMask.h"
#include "ui/lattice/GlyphText.h"
#include "ui/lattice/LatticeGeometry.h"

#include <QColor>
#include <QFont>
#include <QPalette>

class QPainter;

namespace tv {

// What a lattice picture shows.
struct LatticeDrawOptions {
    bool showRatios = true;     // numerator and denominator strips, cents labels and boxes
    bool showExponents = true;  // the exponent line under a ratio
    QColor background = QColor(135, 206, 250);  // light sky blue
};

// Paints a lattice on any surface (the window, a printer page, an image) at the places its
// geometry gives. Fonts are made once, with pixel heights taken from the screen's
// resolution, so a printed picture keeps the screen's pixel sizes.
class LatticePainter {
public:
    explicit LatticePainter(double screenDpiY);

    // What the fonts measure, for laying out a picture.
    const LatticeFontMetrics& metrics() const { return metrics_; }

    // Paints the whole lattice of `geometry`, origin at the top left of the drawing area.
    // Gives the number of elements.
    int drawLattice(QPainter& painter, const LatticeGeometry& geometry,
                    const LatticeDrawOptions& options);

    // The raised (selected) or sunken border of one element's label box.
    static void drawBox(QPainter& painter, const LatticeGeometry& geometry, int index, bool raised,
                        const QPalette& palette);

    // Labels that later labels cover completely are left out (on by default); the picture
    // is the same either way.
    void setSkipHiddenLabels(bool skip) { skipHidden_ = skip; }

    const QFont& mainFont(bool small) const { return small ? mainSmall_.font() : main_.font(); }
    const QFont& exponentFont(bool small) const
    {
        return small ? exponentSmall_.font() : exponent_.font();
    }

private:
    GlyphText main_;
    GlyphText mainSmall_;
    GlyphText exponent_;
    GlyphText exponentSmall_;
    LatticeFontMetrics metrics_;
    CoverageMask coverage_;
    bool skipHidden_ = true;
};

}  // namespace tv
