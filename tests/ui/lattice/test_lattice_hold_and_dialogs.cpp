// Holding a chord after its release, and where the colour and file dialogs start.

#include "LatticeWindowFixture.h"

#include "ui/common/FileSuggestion.h"
#include "ui/lattice/LatticeColoursDialog.h"
#include "ui/lattice/LatticeFileCommands.h"
#include "ui/lattice/LatticeMenus.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace tv::test {
namespace {

struct LatticeHold : LatticeWindowFixture {
    LatticeWindow* window = nullptr;
    void SetUp() override
    {
        window = openWindow();
        window->lattice().loadDefaultScale();
        paint(window);
    }
    void TearDown() override { delete window; }
    QPoint at(std::uint32_t n, std::uint32_t d)
    {
        return inside(window, indexOf(window->lattice(), n, d));
    }
    QPoint empty() const { return {window->view()->width() - 2, window->view()->height() - 2}; }
    void hold(bool on)
    {
        QAction* item = window->menus().action(LatticeCommand::HoldChord);
        if (item->isChecked() != on)
            item->trigger();
    }
};

TEST_F(LatticeHold, AHeldChordSoundsUntilTheSelectionOrTheItemChanges)
{
    const auto shift = Qt::ShiftModifier;
    const struct Step {
        const char* what;
        std::function<void()> act;
        Hex sent;
    } steps[] = {
        // Unchecked: the notes end at every release, as always.
        {"press 1/1", [&] { press(window, at(1, 1), shift); }, {"c0 00", "e0 00 40", "90 3c 5a"}},
        {"release", [&] { release(window, shift); }, {"80 3c 00"}},
        {"check", [&] { hold(true); }, {}},
        {"press 3/2",
         [&] { press(window, at(3, 2), shift); },
         {"80 3c 00", "c0 00", "e0 00 40", "90 3c 5a", "c1 00", "e1 50 40", "91 43 5a"}},
        {"release held", [&] { release(window, shift); }, {}},
        {"uncheck", [&] { hold(false); }, {"80 3c 00", "81 43 00"}},
        {"uncheck again", [&] { hold(false); }, {}},
        {"check, press 3/2",
         [&] {
             hold(true);
             press(window, at(3, 2), shift);
         },
         {"80 3c 00", "81 43 00", "c0 00", "e0 00 40", "90 3c 5a"}},
        {"release held", [&] { release(window, shift); }, {}},
        {"press empty", [&] { press(window, empty()); }, {"80 3c 00"}},
        {"plain release", [&] { release(window); }, {}},
        {"plain press and release",
         [&] {
             press(window, at(3, 2));
             release(window);
         },
         {"c0 00", "e0 50 40", "90 43 5a", "80 43 00"}},
    };
    for (const Step& step : steps) {
        capture->clear();
        step.act();
        EXPECT_EQ(capture->hex(), step.sent) << step.what;
    }
    // All notes off and closing end a held chord too, once.
    press(window, at(3, 2), shift);
    release(window, shift);
    window->runCommand(LatticeCommand::AllNotesOff);
    capture->clear();
    hold(false);
    EXPECT_TRUE(capture->hex().empty());
    press(window, empty());
    release(window);
    hold(true);
    press(window, at(3, 2), shift);
    release(window, shift);
    capture->clear();
    window->close();
    EXPECT_EQ(capture->hex(), (Hex{"80 43 00"}));
}

TEST_F(LatticeHold, TheContextMenuOpensAtThePointerOnEmptySpace)
{
    const QPoint empty(window->view()->width() / 2, window->view()->height() - 40);
    ASSERT_EQ(window->labelGeometry().hitTest(empty), -1);
    window->pressRight(empty);
    EXPECT_EQ(window->contextMenu()->pos(), window->view()->mapToGlobal(empty));
    window->contextMenu()->hide();
}

TEST_F(LatticeHold, TheColourPickerStartsAtTheBackgroundInUse)
{
    QColor offered;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* picker = qobject_cast<QColorDialog*>(modal)) {
            offered = picker->currentColor();
            picker->accept();
        } else if (auto* dialog = qobject_cast<LatticeColoursDialog*>(modal)) {
            // Clicked once this call has returned, so that the timer fires in the picker too.
            QPushButton* next = offered.isValid() ? dialog->controls().okButton
                                                  : dialog->controls().backgroundButton;
            QMetaObject::invokeMethod(next, &QPushButton::click, Qt::QueuedConnection);
        }
    });
    answer.start(20);
    const QColor before = window->background();
    window->runCommand(LatticeCommand::Colour);
    EXPECT_EQ(offered, before);
    EXPECT_EQ(window->background(), before);
}

// Keeps where each dialog was to start.
struct SuggestionDialogs : LatticeFileDialogs {
    QStringList* suggested;
    QString answer;
    QString note()
    {
        suggested->append(suggestion());
        return answer;
    }
    QString openScalaPath() override { return note(); }
    QString saveScalaPath() override { return note(); }
    QString saveImagePath() override { return note(); }
    QString savePdfPath() override { return note(); }
    QString saveSvgPath() override { return note(); }
    bool choosePrinter(QPrinter&) override { return false; }
    void pageSetup(QPrinter&) override {}
    std::optional<NewLatticeChoice> chooseNewLattice(QWidget*, int, MessageService&) override
    {
        return std::nullopt;
    }
};

TEST_F(LatticeHold, FileDialogsStartAtTheLatticesFileOrTheLastFolder)
{
    forgetChosenFolder();
    QStringList suggested;
    auto owned = std::make_unique<SuggestionDialogs>();
    SuggestionDialogs& dialogs = *owned;
    dialogs.suggested = &suggested;
    window->files().setDialogs(std::move(owned));
    LatticeFileCommands& files = window->files();
    files.saveAs();
    dialogs.answer = dir.filePath("sub.dir/major.SCL");
    QDir(dir.path()).mkdir("sub.dir");
    files.saveAs();
    dialogs.answer.clear();
    files.saveAs();
    files.saveBitmap();
    files.exportPdf();
    files.exportSvg();
    files.open();
    const QString folder = dir.filePath("sub.dir/");
    EXPECT_EQ(suggested,
              (QStringList{QString(), QString(), folder + "major.SCL", folder + "major.png",
                           folder + "major.pdf", folder + "major.svg", folder + "major.SCL"}));
    // A new window without a file starts in the folder used last.
    LatticeWindow* other = openWindow();
    other->files().setDialogs(std::make_unique<SuggestionDialogs>(dialogs));
    other->files().saveBitmap();
    EXPECT_EQ(suggested.last(), dir.filePath("sub.dir"));
    delete other;
}

}  // namespace
}  // namespace tv::test
