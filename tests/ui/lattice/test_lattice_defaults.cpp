// At its defaults (100 % zoom, no lines or circle, every limit shown, nothing selected) the
// lattice picture, its hit test and its MIDI bytes must stay what they were before zoom,
// lines and limit filtering existed. The sums below were taken from the painter as it was
// then with the fonts that widget tests are given (tests/CMakeLists.txt); without them the
// sums are skipped, or fail under TONALVANE_STRICT_TESTS.
#include "LatticeWindowFixture.h"

#include "ui/lattice/LatticeGeometry.h"
#include "ui/lattice/LatticePainter.h"

#include "support/Needs.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <cinttypes>
#include <initializer_list>
#include <utility>

namespace tv::test {
namespace {

struct Fnv {
    std::uint64_t sum = 14695981039346656037ull;
    void add(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8) {
            sum ^= (value >> shift) & 0xFFu;
            sum *= 1099511628211ull;
        }
    }
};

std::uint64_t pictureSum(const QImage& image)
{
    Fnv fnv;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            fnv.add(row[x] & 0xFFFFFFu);
    }
    return fnv.sum;
}

// What a press hits at every pixel of the outer size, and a margin before it.
std::uint64_t hitSum(const LatticeGeometry& geometry)
{
    Fnv fnv;
    for (int y = -2; y < geometry.outerSize().height(); ++y) {
        for (int x = -2; x < geometry.outerSize().width(); ++x)
            fnv.add(static_cast<std::uint32_t>(geometry.hitTest(QPoint(x, y))));
    }
    return fnv.sum;
}

// The default scale with cents-only pitches, large and higher-prime ratios added.
void mixedLattice(Lattice& lattice)
{
    lattice.loadDefaultScale();
    for (const auto& [n, d] : std::initializer_list<std::pair<std::uint32_t, std::uint32_t>>{
             {7, 4}, {11, 8}, {13, 8}, {17, 16}, {81, 80}, {531441, 524288}, {49, 48}, {25, 24}})
        lattice.addRatio("", n, d);
    for (const double cents : {100.0, 333.3, -701.9, 1200.5})
        lattice.addCents("", cents);
}

bool fontsAsMeasured(const LatticePainter& painter)
{
    const QFontInfo info(painter.mainFont(false));
    return info.family().startsWith(QStringLiteral("Nimbus Sans")) && info.pixelSize() == 11;
}

TEST(LatticeDefaults, PicturesAndHitsAreThoseOfThePlainPainter)
{
    struct Case {
        const char* name;
        QSize size;
        bool mixed;
        int style;
        bool showRatios, showExponents;
        std::uint64_t picture, hits;
    };
    // The mixed lattice holds 17/16, which has a place of its own away from 1/1: its sums in
    // the lattice style are those of that place; the others are as the plain painter drew.
    const Case cases[] = {
        {"default", {900, 640}, false, 0, true, true, 0x5ca81b43b3734427, 0xa6885ab3a16e2989},
        {"small fonts", {520, 380}, false, 0, true, true, 0xeceec7b0ad00fe1b, 0x6ca6e3c9ec2989b1},
        {"mixed", {1024, 768}, true, 0, true, true, 0x66090a929769d146, 0x8715b7a721c817d7},
        {"planetary", {1024, 768}, true, 1, true, true, 0xa035b796e3d37a4d, 0xb1ffe32e85e6e824},
        {"no ratios", {1024, 768}, true, 0, false, true, 0xb361ca99f48512f3, 0x8715b7a721c817d7},
        {"no exponents", {1024, 768}, true, 0, true, false, 0x5ffbac095db2b1d4, 0x8715b7a721c817d7},
    };
    LatticePainter painter(96.0);
    TV_NEEDS(fontsAsMeasured(painter),
             "Nimbus Sans (Debian package fonts-urw-base35) as the labels' 11 pixel font");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lattice lattice;
        if (c.mixed)
            mixedLattice(lattice);
        else
            lattice.loadDefaultScale();
        lattice.setStyle(c.style);
        LatticeDrawOptions options;
        options.showRatios = c.showRatios;
        options.showExponents = c.showExponents;
        const LatticeGeometry geometry(lattice, c.size, painter.metrics());
        QImage image(c.size, QImage::Format_RGB32);
        QPainter surface(&image);
        painter.drawLattice(surface, geometry, options);
        surface.end();
        EXPECT_EQ(pictureSum(image), c.picture);
        EXPECT_EQ(hitSum(geometry), c.hits);
    }
}

using LatticeDefaultsWindow = LatticeWindowFixture;

TEST_F(LatticeDefaultsWindow, AWindowDrawsHitsAndPlaysAsThePlainOneDid)
{
    LatticeWindow* window = openWindow();
    const bool asMeasured =
        fontsAsMeasured(window->painter()) && window->view()->size() == QSize(900, 621);
    if (!asMeasured)
        delete window;
    TV_NEEDS(asMeasured, "Nimbus Sans and DejaVu Sans (Debian packages fonts-urw-base35, "
                         "fonts-dejavu-core), with which the drawing area is 900 x 621");
    mixedLattice(window->lattice());
    QImage image(window->view()->size(), QImage::Format_RGB32);
    QPainter surface(&image);
    window->drawLattice(surface);
    surface.end();
    EXPECT_EQ(pictureSum(image), 0xc728ea8fdef8a9ceu);
    EXPECT_EQ(hitSum(window->labelGeometry()), 0x237a14557e36563fu);

    // Every element pressed and released in turn.
    Fnv midi;
    int messages = 0;
    for (int i = 0; i < window->lattice().count(); ++i) {
        press(window, inside(window, i));
        release(window);
        for (const std::uint32_t message : capture->messages()) {
            ++messages;
            midi.add(message);
        }
        capture->clear();
    }
    EXPECT_EQ(messages, 96);
    EXPECT_EQ(midi.sum, 0x3614be42af3c6b7cu);
    delete window;
}

}  // namespace
}  // namespace tv::test
