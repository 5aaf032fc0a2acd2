#include "LatticeWindowFixture.h"

#include "ui/lattice/LatticeGeometry.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace tv::test {
namespace {

// Made-up text measures, so that every size below is exact.
LatticeFontMetrics handMetrics()
{
    LatticeFontMetrics fonts;
    fonts.digitWidth = 7;
    fonts.digitHeight = 13;
    fonts.normal = {13, 14, 40};  // ratio box 1.33 x 14 + 0.5 -> 19 by 26, cents box 40 by 13
    fonts.small = {10, 10, 30};   // ratio box 1.33 x 10 + 0.5 -> 13 by 20, cents box 30 by 10
    return fonts;
}

// The made-up measures with made-up characters: digits 7 wide with ink from 1 to 6, a blank 3
// wide, a minus 4 wide with ink from 0.5 to 3.5 and a point 3 wide with ink from 1 to 2.
LatticeFontMetrics handMetricsWithText()
{
    LatticeFontMetrics fonts = handMetrics();
    auto& characters = fonts.normal.characters;
    for (char digit = '0'; digit <= '9'; ++digit)
        characters[static_cast<std::size_t>(digit)] = {7, 1, 6};
    characters[' '] = {3, 0, 0};
    characters['-'] = {4, 0.5, 3.5};
    characters['.'] = {3, 1, 2};
    return fonts;
}

// A lattice whose elements keep the plot positions given to them: in the planetary style,
// adding an element places no other one again.
struct HandPlaced {
    Lattice lattice;
    HandPlaced() { lattice.setStyle(Lattice::planetaryStyle); }
    void add(bool ratio, std::uint16_t plotX, std::uint16_t plotY)
    {
        if (ratio)
            lattice.addRatio("", 3, 2);
        else
            lattice.addCents("", 100.0);
        LatticeElement& element = *lattice.element(lattice.count() - 1);
        element.plotX = plotX;
        element.plotY = plotY;
    }
};

TEST(LatticeGeometry, LabelsStartAtEightyFivePercentOfTheAreaTruncatedTowardZero)
{
    HandPlaced placed;
    const Lattice& lattice = placed.lattice;
    placed.add(true, 1000, 1000);
    placed.add(true, 0, 0);
    placed.add(false, 500, 333);
    // 900 x 640 leaves 886 x 588 to draw in.
    const LatticeGeometry geometry(lattice, QSize(900, 640), handMetrics());
    EXPECT_EQ(geometry.drawWidth(), 886);
    EXPECT_EQ(geometry.drawHeight(), 588);
    EXPECT_EQ(geometry.labelAt(0), QPoint(753, 499));  // 753.1, 499.8
    EXPECT_EQ(geometry.labelAt(1), QPoint(0, 0));
    EXPECT_EQ(geometry.labelAt(2), QPoint(376, 166));  // 376.55, 166.43
    EXPECT_EQ(geometry.labelAt(3), QPoint(0, 0));
    EXPECT_TRUE(geometry.box(3).isNull());
    // A window smaller than its margins: negative positions round toward zero.
    const LatticeGeometry tiny(lattice, QSize(10, 10), handMetrics());
    EXPECT_EQ(tiny.labelAt(2), QPoint(-1, -11));  // -1.7, -11.88
}

TEST(LatticeGeometry, BoxesHoldBothEdgesAndNothingAPixelOutside)
{
    struct Case {
        QSize outer;  // drawing area = outer less 14 by 52
        bool small;
        bool ratio;
        int width, height;
    };
    const Case cases[] = {
        {{515, 403}, false, true, 19, 26},   // 501 x 351: the normal fonts
        {{515, 403}, false, false, 40, 13},  //
        {{514, 403}, true, true, 13, 20},    // 500 wide: small
        {{515, 402}, true, false, 30, 10},   // 350 high: small
        {{900, 640}, false, false, 40, 13},  //
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.outer.width() << "x" << c.outer.height()
                                        << (c.ratio ? " ratio" : " cents"));
        HandPlaced placed;
        placed.add(c.ratio, 500, 500);
        const LatticeGeometry geometry(placed.lattice, c.outer, handMetrics());
        EXPECT_EQ(geometry.smallLayout(), c.small);
        const QPoint corner = geometry.labelAt(0);
        EXPECT_EQ(geometry.box(0), QRect(corner, QSize(c.width + 1, c.height + 1)));
        const int left = corner.x(), top = corner.y();
        const int right = left + c.width, bottom = top + c.height;
        for (const QPoint in :
             {QPoint(left, top), QPoint(right, bottom), QPoint(right, top), QPoint(left, bottom)})
            EXPECT_EQ(geometry.hitTest(in), 0) << in.x() << "," << in.y();
        for (const QPoint out : {QPoint(left - 1, top), QPoint(left, top - 1),
                                 QPoint(right + 1, bottom), QPoint(right, bottom + 1)})
            EXPECT_EQ(geometry.hitTest(out), -1) << out.x() << "," << out.y();
    }
}

TEST(LatticeGeometry, TheLowestIndexWinsAndEachKindKeepsItsOwnBox)
{
    HandPlaced placed;
    const Lattice& lattice = placed.lattice;
    const LatticeGeometry empty(lattice, QSize(900, 640), handMetrics());
    EXPECT_EQ(empty.hitTest(QPoint(0, 0)), -1);
    // A cents label (40 by 13) under two ratio labels (19 by 26), all at the same place.
    placed.add(false, 500, 500);
    placed.add(true, 500, 500);
    placed.add(true, 500, 500);
    const LatticeGeometry geometry(lattice, QSize(900, 640), handMetrics());
    const QPoint corner = geometry.labelAt(0);
    EXPECT_EQ(geometry.hitTest(corner), 0);
    EXPECT_EQ(geometry.hitTest(corner + QPoint(40, 13)), 0);  // past the ratio box
    EXPECT_EQ(geometry.hitTest(corner + QPoint(19, 14)), 1);  // below the cents box
    EXPECT_EQ(geometry.hitTest(corner + QPoint(20, 14)), -1);
}

TEST(LatticeGeometry, BoxesGrowToHoldTheirTextClearOfTheirEdges)
{
    struct Case {
        std::uint32_t n, d;  // d 0: n tenths of a cent, negative when n is odd
        int left, width;     // box columns left of the label corner, and the box's width
        int height;
    };
    const Case cases[] = {
        {3, 2, 0, 20, 27},      // "  3": the least box, 19 + 1 by 26 + 1
        {99, 1, 0, 20, 27},     // " 99": ink ends at 17, the edge starts at 18
        {160, 81, 1, 23, 27},   // "160": ink 1..20, edge from 21 and before 1
        {1, 1024, 1, 30, 27},   // "1024": the longer line decides
        {1000, 0, 1, 42, 14},   // "100.0": the least width; ink from 1 leaves one column
        {7019, 0, 2, 43, 14},   // "-701.9": the minus starts at 0
        {12005, 0, 2, 45, 14},  // "-1200.5": ink ends at 41
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << "/" << c.d);
        HandPlaced placed;
        if (c.d != 0)
            placed.lattice.addRatio("", c.n, c.d);
        else
            placed.lattice.addCents("", (c.n % 2 ? -0.1 : 0.1) * c.n);
        LatticeElement& element = *placed.lattice.element(0);
        element.plotX = element.plotY = 500;
        const LatticeGeometry geometry(placed.lattice, QSize(900, 640), handMetricsWithText());
        const QPoint corner = geometry.labelAt(0);
        const QRect box(corner.x() - c.left, corner.y(), c.width, c.height);
        EXPECT_EQ(geometry.box(0), box);
        // Clicks follow the box to its outermost columns and no further.
        for (const QPoint in : {box.topLeft(), box.bottomRight()})
            EXPECT_EQ(geometry.hitTest(in), 0) << in.x() << "," << in.y();
        for (const QPoint out : {box.topLeft() - QPoint(1, 0), box.bottomRight() + QPoint(1, 0),
                                 box.bottomRight() + QPoint(0, 1)})
            EXPECT_EQ(geometry.hitTest(out), -1) << out.x() << "," << out.y();
    }
}

using LatticeHitTest = LatticeWindowFixture;

void sendPress(LatticeWindow* window, Qt::MouseButton button, QPoint at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, window->view()->mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(window->view(), &press);
}

TEST_F(LatticeHitTest, APressFindsWhatAPaintWouldDrawWithoutAnyPaint)
{
    // Never shown, so never painted.
    auto* window = new LatticeWindow(services);
    window->resize(900, 640);
    Lattice& lattice = window->lattice();
    lattice.loadDefaultScale();
    const int fifth = indexOf(lattice, 3, 2);
    for (const QSize size : {QSize(900, 640), QSize(520, 380)}) {
        SCOPED_TRACE(size.width());
        window->resize(size);
        const QPoint at = window->labelGeometry().labelAt(fifth) + QPoint(3, 3);
        sendPress(window, Qt::LeftButton, at);
        EXPECT_TRUE(lattice.selected(fifth));
        EXPECT_EQ(capture->hex(), (Hex{"c0 00", "e0 50 40", "90 43 5a"}));
        window->clearSelection();
        capture->clear();
        // The point lies on 3/2's orange numerator strip once a picture is drawn.
        QImage image(window->frameGeometry().size(), QImage::Format_RGB32);
        QPainter painter(&image);
        window->drawLattice(painter);
        EXPECT_EQ(image.pixelColor(at), QColor(255, 165, 0));
    }
    EXPECT_FALSE(window->view()->isVisible());

    // The context menu opens at the top right corner of the box pressed.
    const LatticeGeometry geometry = window->labelGeometry();
    const QPoint topRight(geometry.ratioHitWidth(), 0);
    window->pressRight(geometry.labelAt(fifth));
    EXPECT_EQ(window->contextElement(), fifth);
    EXPECT_EQ(window->contextMenu()->pos(),
              window->view()->mapToGlobal(geometry.labelAt(fifth) + topRight));
    window->contextMenu()->hide();
    window->pressRight(QPoint(-5, -5));
    EXPECT_EQ(window->contextElement(), -1);
    window->contextMenu()->hide();
    delete window;
}

}  // namespace
}  // namespace tv::test
