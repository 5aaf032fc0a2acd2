#include "LatticeFilesFixture.h"
#include "LatticeWindowFixture.h"

#include "ui/lattice/LatticeGeometry.h"
#include "ui/lattice/LatticeMenus.h"
#include "ui/lattice/LatticePainter.h"

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <map>
#include <set>

namespace tv::test {
namespace {

const QColor sky(135, 206, 250);

QImage render(LatticePainter& painter, const LatticeGeometry& geometry,
              const LatticeDrawOptions& options = {}, qreal pixelRatio = 1)
{
    QImage image(geometry.surfaceSize() * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    QPainter surface(&image);
    painter.drawLattice(surface, geometry, options);
    return image;
}

// Sixteen ratios on a four by four grid of plot positions, far enough apart that no two
// labels meet even at 400 %.
Lattice gridLattice()
{
    Lattice lattice;
    lattice.setStyle(Lattice::planetaryStyle);  // keeps hand-set positions
    for (int i = 0; i < 16; ++i) {
        lattice.addRatio("", 3 + 2 * static_cast<std::uint32_t>(i), 2);
        LatticeElement& element = *lattice.element(i);
        element.plotX = static_cast<std::uint16_t>(250 * (i % 4));
        element.plotY = static_cast<std::uint16_t>(250 * (i / 4));
    }
    return lattice;
}

TEST(LatticeZoom, HitsLandOnTheSameElementsAndFollowTheDrawnBoxes)
{
    const Lattice lattice = gridLattice();
    LatticePainter painter(96.0);
    std::map<int, QSize> boxSizes;
    const LatticeGeometry plain(lattice, QSize(1024, 768), painter.metrics());
    for (const int percent : {50, 100, 400}) {
        SCOPED_TRACE(percent);
        painter.setZoom(percent / 100.0);
        const LatticeGeometry geometry(lattice, QSize(1024, 768), painter.metrics());
        EXPECT_EQ(geometry.zoom(), percent / 100.0);
        LatticeDrawOptions boxesOnly;  // exponent lines reach past the boxes
        boxesOnly.showExponents = false;
        const QImage image = render(painter, geometry, boxesOnly);
        const double zoom = percent / 100.0;
        for (int i = 0; i < lattice.count(); ++i) {
            SCOPED_TRACE(i);
            // The picture is magnified: a place moves away from the origin with the zoom (to
            // within the pixel that places are truncated to, magnified), and the middle of a
            // box at 100 % lands on the same element at every zoom.
            EXPECT_NEAR(geometry.labelAt(i).x(), zoom * plain.labelAt(i).x(), zoom + 1);
            EXPECT_NEAR(geometry.labelAt(i).y(), zoom * plain.labelAt(i).y(), zoom + 1);
            EXPECT_EQ(geometry.hitTest((QPointF(plain.box(i).center()) * zoom).toPoint()), i);
            EXPECT_EQ(geometry.hitTest(geometry.labelAt(i) + QPoint(1, 1)), i);
            // The box that is hit is the box that is drawn: its last pixel carries the edge.
            const QRect box = geometry.box(i);
            EXPECT_EQ(geometry.hitTest(box.bottomRight()), i);
            EXPECT_EQ(geometry.hitTest(box.bottomRight() + QPoint(1, 1)), -1);
            EXPECT_NE(image.pixelColor(box.bottomRight()), sky);
            EXPECT_EQ(image.pixelColor(box.bottomRight() + QPoint(1, 1)), sky);
        }
        boxSizes[percent] = geometry.box(0).size();
    }
    // Boxes grow with the fonts, about in step with the zoom.
    EXPECT_NEAR(boxSizes[400].width(), 4.0 * boxSizes[100].width(), 0.2 * boxSizes[400].width());
    EXPECT_NEAR(boxSizes[400].height(), 4.0 * boxSizes[100].height(), 0.2 * boxSizes[400].height());
    EXPECT_LT(boxSizes[50].height(), boxSizes[100].height());
    // Out of range zooms stop at the ends.
    painter.setZoom(9.0);
    EXPECT_EQ(painter.zoom(), 4.0);
    painter.setZoom(0.1);
    EXPECT_EQ(painter.zoom(), 0.5);
}

TEST(LatticeZoom, AHighDensitySurfaceShowsTheSamePictureInTwiceThePixels)
{
    Lattice lattice;
    lattice.loadDefaultScale();
    LatticePainter painter(96.0);
    const LatticeGeometry geometry(lattice, QSize(900, 640), painter.metrics());
    const QImage plain = render(painter, geometry);
    const QImage dense = render(painter, geometry, {}, 2);
    ASSERT_EQ(dense.size(), QSize(1800, 1280));
    // Every flat-coloured pixel of the plain picture (text edges aside) is a two by two block
    // of the same colour on the dense one.
    int compared = 0;
    for (int y = 1; y + 1 < plain.height(); y += 3) {
        for (int x = 1; x + 1 < plain.width(); x += 3) {
            const QColor c = plain.pixelColor(x, y);
            if (plain.pixelColor(x - 1, y) != c || plain.pixelColor(x + 1, y) != c ||
                plain.pixelColor(x, y - 1) != c || plain.pixelColor(x, y + 1) != c)
                continue;
            ++compared;
            ASSERT_EQ(dense.pixelColor(2 * x, 2 * y), c) << x << "," << y;
            ASSERT_EQ(dense.pixelColor(2 * x + 1, 2 * y + 1), c) << x << "," << y;
        }
    }
    EXPECT_GT(compared, 10000);
}

// A scrolled view draws only the part it shows: that part must be the same pixels as the whole
// picture has there, and the label bounds must hold everything that is drawn.
TEST(LatticeZoom, APartOfThePictureIsThatPartOfTheWholeOne)
{
    Lattice lattice;
    lattice.loadDefaultScale();
    for (int i = 0; i < lattice.count(); i += 3)
        lattice.setSelected(i, true);
    LatticePainter painter(96.0);
    painter.setZoom(4.0);
    LatticeDrawOptions options;
    options.keyLabels.assign(static_cast<std::size_t>(lattice.count()), "60 72 84");
    const LatticeGeometry geometry(lattice, QSize(900, 640), painter.metrics());
    const QImage whole = render(painter, geometry, options);
    const QRect bounds = painter.labelBounds(geometry, options);
    for (int y = 0; y < whole.height(); y += 2) {
        for (int x = 0; x < whole.width(); x += 2)
            ASSERT_TRUE(whole.pixelColor(x, y) == sky || bounds.contains(x, y)) << x << "," << y;
    }
    // Lines clipped at the edge of a smaller surface may round a pixel differently; a line
    // lost would differ in hundreds.
    LatticeDrawOptions lines = options;
    lines.showLines = true;
    const QImage lined = render(painter, geometry, lines);
    for (const QRect area : {QRect(0, 0, 900, 600), QRect(1310, 905, 700, 500),
                             QRect(2500, 1800, 1100, 760), QRect(3000, 10, 600, 300)}) {
        SCOPED_TRACE(area.x());
        const auto part = [&](LatticeDrawOptions drawn) {
            QImage image(area.size(), QImage::Format_RGB32);
            QPainter surface(&image);
            surface.translate(-area.topLeft());
            drawn.area = area;
            painter.drawLattice(surface, geometry, drawn);
            return image;
        };
        EXPECT_EQ(part(options), whole.copy(area));
        const QImage linedPart = part(lines);
        const QImage want = lined.copy(area);
        int differ = 0;
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x)
                differ += linedPart.pixel(x, y) != want.pixel(x, y);
        }
        EXPECT_LT(differ, 20);
    }
}

TEST(LatticeLines, ARepaintAfterAChangeDrawsTheLinesOfTheLatticeAsItIsNow)
{
    Lattice lattice;
    lattice.loadDefaultScale();
    LatticePainter painter(96.0);
    LatticeDrawOptions options;
    options.showLines = true;
    const auto picture = [&](LatticePainter& p, const LimitFilter& limits) {
        return render(p, LatticeGeometry(lattice, QSize(900, 640), p.metrics(), limits), options);
    };
    const QImage before = picture(painter, {});
    // 7/5 becomes 9/5: as many elements as before, other neighbours.
    lattice.placeRatio(*lattice.element(6), 9, 5);
    LatticePainter fresh(96.0);
    const QImage after = picture(painter, {});
    EXPECT_NE(after, before);
    EXPECT_EQ(after, picture(fresh, {}));
    const LimitFilter no5{{true, false, true, true, true, true}};
    EXPECT_EQ(picture(painter, no5), picture(fresh, no5));
    EXPECT_EQ(picture(painter, {}), after);
}

using LatticeViewOptions = LatticeWindowFixture;

TEST_F(LatticeViewOptions, ZoomKeysAndTheWheelStepThroughTheZooms)
{
    LatticeWindow* window = openWindow();
    window->lattice().loadDefaultScale();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    LatticeView* view = window->view();
    const auto key = [&](Qt::Key k) { QTest::keyClick(view, k, Qt::ControlModifier); };
    const auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
        const QPointF at(50, 50);
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    };
    const int fifth = indexOf(window->lattice(), 3, 2);
    const int plainHeight = window->labelGeometry().box(fifth).height();
    key(Qt::Key_Plus);
    EXPECT_EQ(window->zoomPercent(), 110);
    key(Qt::Key_Equal);
    EXPECT_EQ(window->zoomPercent(), 125);
    key(Qt::Key_Minus);
    EXPECT_EQ(window->zoomPercent(), 110);
    key(Qt::Key_0);
    EXPECT_EQ(window->zoomPercent(), 100);
    for (int i = 0; i < 6; ++i)
        key(Qt::Key_Minus);
    EXPECT_EQ(window->zoomPercent(), 50);
    wheel(240, Qt::ControlModifier);
    EXPECT_EQ(window->zoomPercent(), 75);
    wheel(60, Qt::ControlModifier);
    EXPECT_EQ(window->zoomPercent(), 75);
    wheel(60, Qt::ControlModifier);
    EXPECT_EQ(window->zoomPercent(), 90);
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(window->zoomPercent(), 90);
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(window->zoomPercent(), 75);
    for (int i = 0; i < 20; ++i)
        key(Qt::Key_Plus);
    EXPECT_EQ(window->zoomPercent(), 400);
    // The window's picture (and so its bitmap and print) and its hit test take the zoom.
    const QRect box = window->labelGeometry().box(fifth);
    EXPECT_GT(box.height(), 3 * plainHeight);
    QImage image(view->pictureSize(), QImage::Format_RGB32);
    QPainter surface(&image);
    window->drawLattice(surface);
    surface.end();
    ASSERT_TRUE(image.rect().contains(box.bottomRight()));
    EXPECT_NE(image.pixelColor(box.bottomRight()), sky);
    window->setZoomPercent(900);
    EXPECT_EQ(window->zoomPercent(), 400);
    window->runCommand(LatticeCommand::ZoomReset);
    EXPECT_EQ(window->zoomPercent(), 100);
    EXPECT_EQ(window->labelGeometry().box(fifth).height(), plainHeight);
    delete window;
}

TEST_F(LatticeViewOptions, TheWheelZoomsAboutThePointerAndThePictureScrolls)
{
    LatticeWindow* window = openWindow();
    window->lattice().loadDefaultScale();
    LatticeView* view = window->view();
    const QSize room = view->size();
    const auto send = [&](QEvent::Type type, Qt::MouseButton button, QPoint at) {
        QMouseEvent event(type, at, view->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MiddleButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    const auto wheel = [&](QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    };
    const int fifth = indexOf(window->lattice(), 3, 2);
    const QPoint at = window->labelGeometry().box(fifth).center();
    const auto hitAt = [&](QPoint p) {
        return window->labelGeometry().hitTest(view->toPicture(p));
    };
    wheel(at, 4 * 120, Qt::ControlModifier);
    EXPECT_EQ(window->zoomPercent(), 175);
    EXPECT_EQ(hitAt(at), fifth);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->width() < room.width(); }, 1000))
        << "a scroll bar takes its room";
    // The wheel, Shift with it, the keys and the middle button scroll.
    view->scrollTo(QPoint(100, 100));
    wheel(at, -120, Qt::NoModifier);
    wheel(at, -120, Qt::ShiftModifier);
    EXPECT_EQ(view->scrollPosition(), QPoint(100, 100) + QPoint(3, 3) * 20);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(view->scrollPosition(), QPoint(180, 140));
    send(QEvent::MouseButtonPress, Qt::MiddleButton, QPoint(200, 200));
    send(QEvent::MouseMove, Qt::NoButton, QPoint(150, 230));
    send(QEvent::MouseButtonRelease, Qt::MiddleButton, QPoint(150, 230));
    EXPECT_EQ(view->scrollPosition(), QPoint(230, 110));
    // Zooming out about the same point finds the same element; at 100 % nothing scrolls.
    const QPoint shown = view->fromPicture(window->labelGeometry().box(fifth).center());
    wheel(shown, -120, Qt::ControlModifier);
    EXPECT_EQ(window->zoomPercent(), 150);
    EXPECT_EQ(hitAt(shown), fifth);
    wheel(shown, -3 * 120, Qt::ControlModifier);
    EXPECT_EQ(window->zoomPercent(), 100);
    EXPECT_EQ(view->scrollPosition(), QPoint(0, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->size() == room; }, 1000));
    // The keys keep the middle of the view where it is.
    window->setZoomPercent(200);
    const QPoint middle = view->rect().center();
    const QPointF plain = QPointF(view->toPicture(middle)) / 2.0;
    window->zoomBy(2);
    EXPECT_EQ(window->zoomPercent(), 300);
    EXPECT_NEAR(view->toPicture(middle).x() / 3.0, plain.x(), 1.0);
    EXPECT_NEAR(view->toPicture(middle).y() / 3.0, plain.y(), 1.0);
    delete window;
}

TEST_F(LatticeViewOptions, FitToWindowShowsEveryLabelWholeAndNewWindowsTakeTheLastZoom)
{
    LatticeWindow* window = openWindow();
    window->lattice().loadDefaultScale();
    window->setZoomPercent(400);
    window->view()->scrollTo(QPoint(500, 500));
    window->runCommand(LatticeCommand::FitToWindow);
    EXPECT_EQ(window->zoomPercent(), 100);
    EXPECT_EQ(window->view()->scrollPosition(), QPoint(0, 0));
    // A mapping that plays 1/1 on each of the keys 1 to 100: its key label, a hundred
    // numbers long, reaches past the window at 100 %.
    auto dialogs = std::make_unique<PreparedTuningDialogs>();
    dialogs->paths = {dir.filePath("one.kbm")};
    QFile kbm(dialogs->paths.front());
    ASSERT_TRUE(kbm.open(QIODevice::WriteOnly));
    kbm.write("1\n1\n100\n60\n60\n261.6256\n0\n0\n");
    kbm.close();
    window->tuningFiles().setDialogs(std::move(dialogs));
    window->tuningFiles().openMapping();
    window->setShowKeyLabels(true);
    const QRect room(QPoint(), window->view()->frame()->size());
    ASSERT_FALSE(room.contains(window->labelBounds()));
    window->runCommand(LatticeCommand::FitToWindow);
    const int fitted = window->zoomPercent();
    EXPECT_LT(fitted, 100);
    EXPECT_TRUE(room.contains(window->labelBounds()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->view()->size() == room.size(); }, 1000));
    // The largest such zoom: one percent more reaches past.
    EXPECT_NE(window->zoomPercent(), 50);
    window->setZoomPercent(fitted + 1);
    EXPECT_FALSE(room.contains(window->labelBounds()));
    window->setZoomPercent(fitted);
    // Zoom steps go on from a fitted zoom to the next step either way.
    const auto& steps = LatticeWindow::zoomSteps;
    window->zoomBy(1);
    const auto above = std::find(steps.begin(), steps.end(), window->zoomPercent());
    ASSERT_TRUE(above != steps.begin() && above != steps.end());
    EXPECT_GT(*above, fitted);
    EXPECT_LE(*(above - 1), fitted);

    window->setZoomPercent(150);
    LatticeWindow* next = openWindow();
    EXPECT_EQ(next->zoomPercent(), 150);
    settings->setValue("LatticeZoom", "huge");
    LatticeWindow* third = openWindow();
    EXPECT_EQ(third->zoomPercent(), 100);
    delete third;
    delete next;
    delete window;
}

TEST_F(LatticeViewOptions, LinesJoinExactlyTheNeighboursInTheirPrimesColours)
{
    LatticeWindow* window = openWindow();
    Lattice& lattice = window->lattice();
    lattice.loadDefaultScale();
    const QColor orange(255, 165, 0), yellow(255, 255, 0), green(0, 255, 0);
    const auto picture = [&] {
        QImage image(window->view()->size(), QImage::Format_RGB32);
        QPainter surface(&image);
        window->drawLattice(surface);
        return image;
    };
    const auto lines = [&] {
        LatticeDrawOptions options;
        options.showLines = window->showLines();
        return LatticePainter::neighbourLines(window->labelGeometry(), options);
    };
    const QImage plain = picture();
    EXPECT_TRUE(lines().empty());
    window->runCommand(LatticeCommand::ShowLines);
    ASSERT_TRUE(window->showLines());
    EXPECT_TRUE(window->menus().action(LatticeCommand::ShowLines)->isChecked());
    std::map<QRgb, int> byColour;
    for (const NeighbourLine& line : lines())
        ++byColour[line.colour.rgb()];
    EXPECT_EQ(byColour,
              (std::map<QRgb, int>{{orange.rgb(), 8}, {yellow.rgb(), 6}, {green.rgb(), 1}}));
    // 8/5 to 7/5 is the one step of 7: from anchor to anchor.
    const LatticeGeometry geometry = window->labelGeometry();
    const NeighbourLine seventh = lines()[12];
    EXPECT_EQ(seventh.line.p1(), geometry.anchor(*lattice.element(indexOf(lattice, 8, 5))));
    EXPECT_EQ(seventh.line.p2(), geometry.anchor(*lattice.element(indexOf(lattice, 7, 5))));

    // Lines lie under the labels: what changes is background, in the lines' colours only.
    const QImage withLines = picture();
    std::set<QRgb> changed;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (withLines.pixel(x, y) != plain.pixel(x, y)) {
                ASSERT_EQ(plain.pixelColor(x, y), sky) << x << "," << y;
                changed.insert(withLines.pixel(x, y));
            }
        }
    }
    EXPECT_EQ(changed, (std::set<QRgb>{orange.rgb(), yellow.rgb(), green.rgb()}));

    // Hidden elements take their lines with them: without 5 only 3-steps among 1/1, 3/2,
    // 9/8, 4/3 and 16/9 remain.
    window->runCommand(LatticeCommand::Limit5);
    EXPECT_EQ(lines().size(), 4u);
    window->runCommand(LatticeCommand::Limit5);

    // On the circle there are no lines; the circle is drawn instead, under the labels.
    window->runCommand(LatticeCommand::StylePlanetary);
    const QImage planetary = picture();
    EXPECT_TRUE(lines().empty());
    window->runCommand(LatticeCommand::ShowCircle);
    const QImage circle = picture();
    int circlePixels = 0;
    for (int y = 0; y < circle.height(); ++y) {
        for (int x = 0; x < circle.width(); ++x) {
            if (circle.pixel(x, y) != planetary.pixel(x, y)) {
                ASSERT_EQ(planetary.pixelColor(x, y), sky) << x << "," << y;
                ASSERT_EQ(circle.pixelColor(x, y), QColor(64, 64, 64)) << x << "," << y;
                ++circlePixels;
            }
        }
    }
    EXPECT_GT(circlePixels, 1000);
    delete window;
}

TEST_F(LatticeViewOptions, HiddenLimitsAreNotDrawnHitOrPlayed)
{
    LatticeWindow* window = openWindow();
    Lattice& lattice = window->lattice();
    lattice.loadDefaultScale();
    auto& menus = window->menus();
    const int third = indexOf(lattice, 5, 4), fifth = indexOf(lattice, 3, 2);
    const QPoint thirdAt = inside(window, third);
    const auto noteOns = [&] {
        std::vector<std::string> on;
        for (const std::string& m : capture->hex())
            if (m[0] == '9')
                on.push_back(m);
        return on;
    };
    // 5/4 is chosen and kept; then the 5 limit goes.
    press(window, thirdAt, Qt::ShiftModifier);
    release(window, Qt::ShiftModifier);
    EXPECT_EQ(noteOns().size(), 1u);
    window->runCommand(LatticeCommand::Limit5);
    EXPECT_FALSE(menus.action(LatticeCommand::Limit5)->isChecked());
    EXPECT_FALSE(menus.action(LatticeCommand::LimitCombined)->isChecked());
    EXPECT_EQ(window->labelGeometry().hitTest(thirdAt), -1);
    EXPECT_EQ(window->readoutAt(thirdAt), "");
    QImage image(window->view()->size(), QImage::Format_RGB32);
    {
        QPainter surface(&image);
        window->drawLattice(surface);
    }
    EXPECT_EQ(image.pixelColor(thirdAt), sky);
    // Adding 3/2 to the chord sounds 3/2 alone, on the first channel.
    capture->clear();
    press(window, inside(window, fifth), Qt::ShiftModifier);
    EXPECT_EQ(noteOns(), (Hex{"90 43 5a"}));
    release(window, Qt::ShiftModifier);
    EXPECT_TRUE(lattice.selected(third));

    // Combined checks all four again; unchecked, it leaves only 1/1.
    window->runCommand(LatticeCommand::LimitCombined);
    for (std::size_t i = 0; i < LatticeWindow::limitCount; ++i)
        EXPECT_TRUE(window->limitFlags()[i]) << i;
    EXPECT_EQ(window->labelGeometry().hitTest(thirdAt), third);
    window->runCommand(LatticeCommand::LimitCombined);
    for (const LatticeCommand c :
         {LatticeCommand::Limit3, LatticeCommand::Limit5, LatticeCommand::Limit7,
          LatticeCommand::Limit11, LatticeCommand::Limit13, LatticeCommand::Limit17,
          LatticeCommand::LimitCombined})
        EXPECT_FALSE(menus.action(c)->isChecked());
    const LatticeGeometry geometry = window->labelGeometry();
    for (int i = 0; i < lattice.count(); ++i)
        EXPECT_EQ(geometry.hitTest(geometry.labelAt(i) + QPoint(1, 1)) >= 0,
                  lattice.numerator(i) == 1 && lattice.denominator(i) == 1)
            << i;
    window->runCommand(LatticeCommand::LimitAll);
    EXPECT_TRUE(menus.action(LatticeCommand::LimitCombined)->isChecked());
    delete window;
}

TEST_F(LatticeViewOptions, ASelectionRingComesAndGoesAsAFullPictureWouldShowIt)
{
    LatticeWindow* window = openWindow();
    Lattice& lattice = window->lattice();
    lattice.loadDefaultScale();
    paint(window);
    const int fifth = indexOf(lattice, 3, 2);
    const QRect ring = LatticePainter::selectionRing(window->labelGeometry(), fifth);
    const QColor highlight = QPalette().color(QPalette::Highlight);
    const auto shown = [&] { return window->view()->grab().toImage(); };
    const auto full = [&] {
        paint(window);
        return shown();
    };
    const QImage before = shown();
    EXPECT_NE(before.pixelColor(ring.topLeft()), highlight);
    press(window, inside(window, fifth), Qt::ShiftModifier);
    release(window, Qt::ShiftModifier);
    const QImage selected = shown();
    EXPECT_EQ(selected.pixelColor(ring.topLeft()), highlight);
    EXPECT_EQ(selected.pixelColor(ring.bottomRight()), highlight);
    EXPECT_EQ(selected, full());
    press(window, inside(window, fifth));
    release(window);
    EXPECT_FALSE(lattice.selected(fifth));
    const QImage after = shown();
    EXPECT_EQ(after, before);
    EXPECT_EQ(after, full());
    // In a magnified, scrolled view the ring is drawn where the view shows its element.
    window->setZoomPercent(200);
    window->view()->scrollTo(window->labelGeometry().labelAt(fifth) - QPoint(150, 120));
    full();
    press(window, window->view()->fromPicture(inside(window, fifth)), Qt::ShiftModifier);
    release(window, Qt::ShiftModifier);
    ASSERT_TRUE(lattice.selected(fifth));
    const QImage scrolled = shown();
    EXPECT_EQ(scrolled, full());
    delete window;
}

TEST_F(LatticeViewOptions, APointerRestingOnAnElementReadsItOut)
{
    LatticeWindow* window = openWindow();
    Lattice& lattice = window->lattice();
    lattice.addCents("", 100.0);
    EXPECT_EQ(window->readoutAt(inside(window, 0)),
              "Cents 100.000 (no ratio)\nMIDI note 61 (C#4), bend 8192");
    lattice.loadDefaultScale();
    const int fifth = indexOf(lattice, 3, 2);
    EXPECT_TRUE(window->readoutAt(inside(window, fifth)).startsWith("P5\nRatio 3/2\n"));
    EXPECT_EQ(window->readoutAt(QPoint(-5, -5)), "");
    const QPoint at = inside(window, fifth);
    QHelpEvent help(QEvent::ToolTip, at, window->view()->mapToGlobal(at));
    QApplication::sendEvent(window->view(), &help);
    EXPECT_EQ(QToolTip::text(), window->readoutAt(at));
    // Undoing, or anything else that changes the picture, takes the readout away.
    window->runCommand(LatticeCommand::StylePlanetary);
    // A hidden tooltip goes after a short fade; one left standing would stay ten seconds.
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::text().isEmpty(); }, 5000));
    delete window;
}

using LatticeNewShows = LatticeFiles;

TEST_F(LatticeNewShows, TheNewDialogsShowBoxesSetTheShowItemsAndTheirChecks)
{
    // Ratios, exponents, lines, circles: each box on its own, then all and none.
    const std::array<bool, 4> cases[] = {
        {true, false, false, false}, {false, true, false, false}, {false, false, true, false},
        {false, false, false, true}, {true, true, true, true},    {false, false, false, false},
    };
    const LatticeCommand items[] = {LatticeCommand::ShowRatios, LatticeCommand::ShowExponents,
                                    LatticeCommand::ShowLines, LatticeCommand::ShowCircle};
    for (const auto& shown : cases) {
        dialogs->newChoice = NewLatticeChoice{
            .ratios = shown[0], .exponents = shown[1], .lines = shown[2], .circles = shown[3]};
        window->runCommand(LatticeCommand::New);
        const std::array<bool, 4> now{window->showRatios(), window->showExponents(),
                                      window->showLines(), window->showCircle()};
        EXPECT_EQ(now, shown);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(window->menus().action(items[i])->isChecked(), shown[i]) << i;
    }
}

}  // namespace
}  // namespace tv::test
