#pragma once

#include "ui/lattice/CoverageMask.h"
#include "ui/lattice/GlyphText.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QSize>

class QPainter;

namespace tv {

class Lattice;

// What a lattice picture shows.
struct LatticeDrawOptions {
    bool showRatios = true;     // numerator and denominator strips, cents labels and boxes
    bool showExponents = true;  // the exponent line under a ratio
    QColor background = QColor(135, 206, 250);  // light sky blue
};

// Paints a lattice on any surface (the window, a printer page, an image) and, while it
// paints, stores each element's label position and the label box sizes that hit testing
// uses. Fonts are made once, with pixel heights taken from the screen's resolution, so a
// printed picture keeps the screen's pixel sizes.
class LatticePainter {
public:
    explicit LatticePainter(double screenDpiY);

    // Paints the whole lattice for a window whose outer size is `outerSize`, origin at the
    // top left of its drawing area. Gives the number of elements.
    int drawLattice(QPainter& painter, Lattice& lattice, QSize outerSize,
                    const LatticeDrawOptions& options);

    // The raised (selected) or sunken border of one element's label box.
    static void drawBox(QPainter& painter, const Lattice& lattice, int index, bool raised,
                        const QPalette& palette);

    // Labels that later labels cover completely are left out (on by default); the picture
    // is the same either way.
    void setSkipHiddenLabels(bool skip) { skipHidden_ = skip; }

    // Values of the latest paint: 0 before the first.
    int drawWidth() const { return drawWidth_; }
    int drawHeight() const { return drawHeight_; }
    bool smallLayout() const { return smallLayout_; }

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
    CoverageMask coverage_;
    bool skipHidden_ = true;
    int drawWidth_ = 0;
    int drawHeight_ = 0;
    bool smallLayout_ = false;
};

}  // namespace tv
