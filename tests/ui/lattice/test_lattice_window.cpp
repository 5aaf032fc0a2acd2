#include "LatticeWindowFixture.h"

#include "ui/common/WindowPlacement.h"
#include "ui/lattice/LatticeColoursDialog.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTimer>

#include <cstdlib>

namespace tv::test {
namespace {

struct MenuLine {
    QString text;  // "---" for a separator
    bool enabled;
    bool checkable;
    bool checked;
    bool operator==(const MenuLine&) const = default;
};

std::vector<MenuLine> menuLines(QMenu* menu)
{
    std::vector<MenuLine> lines;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator())
            lines.push_back({"---", true, false, false});
        else
            lines.push_back({a->text(), a->isEnabled(), a->isCheckable(), a->isChecked()});
    }
    return lines;
}

QMenu* menuNamed(QMenuBar* bar, const QString& title)
{
    for (QAction* a : bar->actions()) {
        if (a->text() == title)
            return a->menu();
    }
    return nullptr;
}

using LatticeWindowTest = LatticeWindowFixture;

TEST_F(LatticeWindowTest, MenuBarItemsOrderChecksAndGreyedItems)
{
    QPointer<LatticeWindow> window = openWindow();
    QMenuBar* bar = window->menuBar();
    QStringList titles;
    for (QAction* a : bar->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Limit", "&Style", "&View"}));

    const bool on = true, off = false;
    const MenuLine sep{"---", on, off, off};
    EXPECT_EQ(menuLines(menuNamed(bar, "&Edit")),
              (std::vector<MenuLine>{{"&Undo", off, off, off},
                                     {"&Redo", off, off, off},
                                     sep,
                                     {"Cu&t", off, off, off},
                                     {"&Copy", off, off, off},
                                     {"&Paste", off, off, off},
                                     {"&Delete", off, off, off},
                                     sep,
                                     {"&Options...", on, off, off},
                                     sep,
                                     {"All notes o&ff", on, off, off},
                                     {"&Hold chord", on, on, off}}));
    EXPECT_EQ(window->menus().action(LatticeCommand::AllNotesOff)->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_Period));
    EXPECT_EQ(window->menus().action(LatticeCommand::HoldChord)->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_H));
    EXPECT_EQ(menuLines(menuNamed(bar, "&Limit")),
              (std::vector<MenuLine>{{"&3 limit", on, on, on},
                                     {"&5 limit", on, on, on},
                                     {"&7 limit", on, on, on},
                                     {"&11 limit", on, on, on},
                                     {"13 &limit", on, on, on},
                                     {"17+ l&imit", on, on, on},
                                     {"&Combined", on, on, on},
                                     sep,
                                     {"&All", on, off, off}}));
    const auto style = menuLines(menuNamed(bar, "&Style"));
    ASSERT_EQ(style.size(), 10u);
    EXPECT_EQ(style[0], (MenuLine{"&Velmor lattice", on, on, on}));
    EXPECT_EQ(style[1], (MenuLine{"&Planetary graph", on, on, off}));
    EXPECT_EQ(style[3], (MenuLine{"Show &ratios/cents", on, on, on}));
    EXPECT_EQ(style[4], (MenuLine{"Show &exponents", on, on, on}));
    EXPECT_EQ(style[5], (MenuLine{"Show &lines", on, on, off}));
    EXPECT_EQ(style[6], (MenuLine{"Show c&ircle", on, on, off}));
    EXPECT_EQ(style[8].text, "P&atch...");
    EXPECT_EQ(style[9].text, "&Color...");
    QStringList file;
    for (const auto& line : menuLines(menuNamed(bar, "&File")))
        file << line.text;
    EXPECT_EQ(file, (QStringList{"&New...",
                                 "&Open...",
                                 "&Close",
                                 "---",
                                 "&Save",
                                 "Save &As...",
                                 "Save &Bitmap...",
                                 "Export P&DF...",
                                 "Export S&VG...",
                                 "---",
                                 "Open &Keyboard Mapping...",
                                 "Save Keyboard &Mapping...",
                                 "Export &Tuning",
                                 "---",
                                 "Page Set&up...",
                                 "&Print...",
                                 "---",
                                 "&Recent files",
                                 "---",
                                 "E&xit"}));
    // Every access key of the File menu is its own.
    QString keys;
    for (const QString& text : file) {
        const qsizetype at = text.indexOf('&');
        if (at >= 0)
            keys += text[at + 1].toLower();
    }
    EXPECT_EQ(QSet<QChar>(keys.begin(), keys.end()).size(), keys.size()) << keys.toStdString();
    EXPECT_EQ(window->menus().action(LatticeCommand::Undo)->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(window->menus().action(LatticeCommand::Redo)->shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    QStringList view;
    for (const auto& line : menuLines(menuNamed(bar, "&View")))
        view << line.text;
    EXPECT_EQ(view, (QStringList{"&Table", "&File", "&Key labels", "---", "Zoom &in", "Zoom &out",
                                 "&Actual size", "Fit to &window"}));
    const auto shortcuts = [&](LatticeCommand command) {
        return window->menus().action(command)->shortcuts();
    };
    EXPECT_EQ(shortcuts(LatticeCommand::ZoomIn),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                   QKeySequence(Qt::CTRL | Qt::Key_Equal)}));
    EXPECT_EQ(shortcuts(LatticeCommand::ZoomOut), QList{QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    EXPECT_EQ(shortcuts(LatticeCommand::ZoomReset), QList{QKeySequence(Qt::CTRL | Qt::Key_0)});
    EXPECT_EQ(shortcuts(LatticeCommand::FitToWindow), QList{QKeySequence(Qt::CTRL | Qt::Key_9)});
    ASSERT_EQ(window->contextMenu()->actions().size(), 1);
    EXPECT_EQ(window->contextMenu()->actions()[0]->text(), "&Element Properties");
    EXPECT_EQ(window->windowTitle(), "Untitled - Lattice");
    delete window;
}

TEST_F(LatticeWindowTest, StyleAndLimitMenusKeepTheirChecksInStep)
{
    LatticeWindow* window = openWindow();
    window->lattice().loadDefaultScale();
    auto& menus = window->menus();
    menus.action(LatticeCommand::StylePlanetary)->trigger();
    EXPECT_EQ(window->lattice().style(), 1);
    EXPECT_TRUE(menus.action(LatticeCommand::StylePlanetary)->isChecked());
    EXPECT_FALSE(menus.action(LatticeCommand::StyleVelmor)->isChecked());
    EXPECT_EQ(window->lattice().plotX(0), 0);  // 1/1 at the left of the circle
    // Choosing the style in force again keeps it checked and lays out again.
    menus.action(LatticeCommand::StyleVelmor)->trigger();
    menus.action(LatticeCommand::StyleVelmor)->trigger();
    EXPECT_TRUE(menus.action(LatticeCommand::StyleVelmor)->isChecked());
    EXPECT_EQ(window->lattice().plotX(0), 500);

    menus.action(LatticeCommand::Limit5)->trigger();
    menus.action(LatticeCommand::Limit11)->trigger();
    EXPECT_FALSE(menus.action(LatticeCommand::Limit5)->isChecked());
    EXPECT_FALSE(window->limitFlags()[1]);
    menus.action(LatticeCommand::LimitAll)->trigger();
    for (std::size_t i = 0; i < LatticeWindow::limitCount; ++i)
        EXPECT_TRUE(window->limitFlags()[i]);
    EXPECT_TRUE(menus.action(LatticeCommand::Limit11)->isChecked());

    menus.action(LatticeCommand::ShowExponents)->trigger();
    EXPECT_FALSE(window->showExponents());
    EXPECT_FALSE(menus.action(LatticeCommand::ShowExponents)->isChecked());
    delete window;
}

// Renders the window's picture into an image of the drawing area.
QImage picture(LatticeWindow* window)
{
    QImage image(window->view()->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    window->drawLattice(painter);
    return image;
}

TEST_F(LatticeWindowTest, LabelsAreDrawnInTheirLimitColours)
{
    LatticeWindow* window = openWindow();
    Lattice& lattice = window->lattice();
    const QColor sky(135, 206, 250);
    // An empty lattice says how to get one, on one line in the middle and nowhere else.
    QImage empty = picture(window);
    int inked = 0;
    const int middle = empty.height() / 2;
    const int lineHeight = QFontMetrics(window->painter().mainFont(false)).height();
    for (int py = 0; py < empty.height(); ++py) {
        for (int px = 0; px < empty.width(); ++px) {
            if (empty.pixelColor(px, py) == sky)
                continue;
            ++inked;
            ASSERT_LE(std::abs(py - middle), lineHeight) << px << "," << py;
            ASSERT_LE(std::abs(px - empty.width() / 2), empty.width() / 3) << px << "," << py;
        }
    }
    EXPECT_GT(inked, 100);

    lattice.loadDefaultScale();
    QImage image = picture(window);
    const int fifth = indexOf(lattice, 3, 2);
    const LatticeGeometry geometry = window->labelGeometry();
    const int x = geometry.labelAt(fifth).x(), y = geometry.labelAt(fifth).y();
    // 3/2: numerator strip orange (limit 3), denominator strip red (limit 1); sample the
    // strips' left edge inside the box border.
    const int line = geometry.ratioHitHeight() / 2;
    EXPECT_EQ(image.pixelColor(x + 3, y + 3), QColor(255, 165, 0));
    EXPECT_EQ(image.pixelColor(x + 3, y + line + 3), QColor(255, 0, 0));
    // With labels hidden only the background (and exponent lines) remain, but they are hit
    // all the same.
    window->runCommand(LatticeCommand::ShowRatios);
    window->runCommand(LatticeCommand::ShowExponents);
    QImage bare = picture(window);
    for (int py = 0; py < bare.height(); py += 7)
        for (int px = 0; px < bare.width(); px += 7)
            ASSERT_EQ(bare.pixelColor(px, py), sky) << px << "," << py;
    EXPECT_EQ(window->labelGeometry().hitTest(QPoint(x + 1, y + 1)), fifth);
    delete window;
}

TEST_F(LatticeWindowTest, SmallFontsAtOrBelowTheSizeThresholds)
{
    LatticeWindow* window = openWindow();
    const QFontMetrics metrics(window->painter().mainFont(false));
    const int cw = metrics.horizontalAdvance(QLatin1Char('0'));
    const int ch = metrics.height();
    // The picture is laid out from the window's outer size, frame included.
    const QSize frame = window->frameGeometry().size() - window->size();
    auto layoutAt = [&](int drawWidth, int drawHeight) {
        window->resize(QSize(drawWidth + 2 * cw, drawHeight + 4 * ch) - frame);
        const LatticeGeometry geometry = window->labelGeometry();
        EXPECT_EQ(geometry.drawWidth(), drawWidth);
        EXPECT_EQ(geometry.drawHeight(), drawHeight);
        return geometry.smallLayout();
    };
    EXPECT_FALSE(layoutAt(501, 351));
    EXPECT_TRUE(layoutAt(500, 351));
    EXPECT_TRUE(layoutAt(501, 350));
    window->lattice().loadDefaultScale();
    layoutAt(501, 351);
    const int bigBox = window->labelGeometry().ratioHitHeight();
    layoutAt(400, 300);
    EXPECT_LT(window->labelGeometry().ratioHitHeight(), bigBox);
    delete window;
}

TEST_F(LatticeWindowTest, ElementAtTheRightEdgeStartsAtEightyFivePercent)
{
    LatticeWindow* window = openWindow();
    window->lattice().loadDefaultScale();  // 9/8 has plotX 1000, 16/9 plotX 0
    const LatticeGeometry geometry = window->labelGeometry();
    const int margin = geometry.marginX();
    EXPECT_GT(margin, 0);
    EXPECT_EQ(geometry.labelAt(indexOf(window->lattice(), 9, 8)).x(),
              margin + static_cast<int>(1000 * 0.001 * (geometry.drawWidth() - 2 * margin) * 0.85));
    EXPECT_EQ(geometry.labelAt(indexOf(window->lattice(), 16, 9)).x(), margin);
    delete window;
}

TEST_F(LatticeWindowTest, ColourDialogAppliesItsChoiceOnlyOnOk)
{
    LatticeWindow* window = openWindow();
    window->chooseColour = [](QWidget*) { return QColor(10, 20, 30); };
    auto finish = [](int result) {
        QTimer::singleShot(0, [result] {
            auto* dialog = qobject_cast<LatticeColoursDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Lattice colors");
            dialog->controls().backgroundButton->click();
            dialog->done(result);
        });
    };
    finish(QDialog::Rejected);
    window->runCommand(LatticeCommand::Colour);
    EXPECT_EQ(window->background(), QColor(135, 206, 250));
    finish(QDialog::Accepted);
    window->runCommand(LatticeCommand::Colour);
    EXPECT_EQ(window->background(), QColor(10, 20, 30));
    EXPECT_EQ(picture(window).pixelColor(5, 5), QColor(10, 20, 30));
    delete window;
}

// The place as it is stored: the frame's corner and the client's size.
QString outerText(const QWidget& window)
{
    const QRect r(window.frameGeometry().topLeft(), window.geometry().size());
    return QStringLiteral("%1 %2 %3 %4")
        .arg(r.left())
        .arg(r.top())
        .arg(r.x() + r.width())
        .arg(r.y() + r.height());
}

TEST_F(LatticeWindowTest, PlacementIsStoredByTheCloseBoxOnly)
{
    QPointer<LatticeWindow> window = openWindow();
    window->move(40, 50);
    window->resize(600, 400);
    const QRect closedAt = window->frameGeometry();
    const QString stored = outerText(*window);
    window->close();  // as the close box does
    EXPECT_EQ(settings->value("MainWindow"), stored);
    EXPECT_TRUE(stored.startsWith("40 50 "));

    // The next window opens exactly where that one was closed.
    QPointer<LatticeWindow> second = openWindow();
    second->resize(600, 400);
    EXPECT_EQ(second->frameGeometry(), closedAt);
    second->move(70, 80);
    QTest::keyClick(second->view(), Qt::Key_Escape);
    EXPECT_EQ(settings->value("MainWindow"), stored);

    QPointer<LatticeWindow> third = openWindow();
    third->move(1, 2);
    third->runCommand(LatticeCommand::Exit);
    EXPECT_EQ(settings->value("MainWindow"), stored);
    QApplication::processEvents();
    EXPECT_TRUE(messages.texts.isEmpty());
}

}  // namespace
}  // namespace tv::test

namespace tv::test {
namespace {

TEST_F(LatticeWindowTest, LeavingOutCoveredLabelsChangesNoPixel)
{
    LatticeWindow* window = openWindow();
    window->resize(420, 330);
    Lattice& lattice = window->lattice();
    // A dense lattice: many labels lie on top of each other, some selected, some in cents.
    lattice.setAutoNormalise(false);
    for (std::uint32_t n = 1; n < 1200; ++n) {
        lattice.addRatio("", n * 3 + 1, n % 61 + 1);
        if (n % 9 == 0)
            lattice.addCents("", n * 1.7 - 300);
    }
    lattice.setAutoNormalise(true);
    lattice.normalise();
    for (int i = 0; i < lattice.count(); i += 5)
        lattice.setSelected(i, true);
    for (const int style : {0, 1}) {
        window->runCommand(style == 0 ? LatticeCommand::StyleVelmor
                                      : LatticeCommand::StylePlanetary);
        const QImage culled = picture(window);
        auto& painter = const_cast<LatticePainter&>(window->painter());
        painter.setSkipHiddenLabels(false);
        const QImage everything = picture(window);
        painter.setSkipHiddenLabels(true);
        EXPECT_TRUE(culled == everything) << "style " << style;
    }
    delete window;
}

}  // namespace
}  // namespace tv::test
