// Holding a chord after its release, and where the menu and the dialogs of a lattice open.
#include "LatticeFilesFixture.h"

#include "ui/common/FileSuggestion.h"

#include <QAction>
#include <QColorDialog>
#include <QMenu>

namespace tv::test {
namespace {

using LatticeHold = LatticeFiles;

TEST_F(LatticeHold, AChordReleasedWithShiftSoundsOnUnderHoldChordOnly)
{
    window->lattice().loadDefaultScale();
    const auto at = [this](int n, int d) {
        return inside(window, indexOf(window->lattice(), n, d));
    };
    const auto chord = [&](int n, int d) {  // pressed and released with Shift; what it then sent
        press(window, at(n, d), Qt::ShiftModifier);
        capture->clear();
        release(window, Qt::ShiftModifier);
        return capture->hex();
    };
    QAction* hold = window->menus().action(LatticeCommand::HoldChord);
    EXPECT_EQ(chord(1, 1), Hex{"80 3c 00"});  // unchecked: as ever
    hold->trigger();
    EXPECT_EQ(chord(3, 2), Hex{});
    hold->trigger();
    EXPECT_EQ(capture->hex(), (Hex{"80 3c 00", "81 43 00"}));
    hold->trigger();
    chord(5, 4);
    capture->clear();
    press(window, QPoint(window->view()->width() - 2, window->view()->height() - 2));
    EXPECT_EQ(capture->hex(), (Hex{"80 3c 00", "81 3f 00", "82 43 00"}));
    chord(3, 2);
    chord(1, 1);
    capture->clear();
    window->close();
    EXPECT_EQ(capture->hex(), (Hex{"80 3c 00", "81 43 00"}));
}

TEST_F(LatticeHold, TheMenuAndThePickerOpenWhereTheUserIs)
{
    const QPoint empty(window->view()->width() / 2, window->view()->height() / 2);
    window->pressRight(empty);
    EXPECT_EQ(window->contextMenu()->pos(), window->view()->mapToGlobal(empty));
    window->contextMenu()->hide();
    QColor offered;
    QTimer::singleShot(0, [&] {
        auto* picker = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        offered = picker->currentColor();
        picker->accept();
    });
    EXPECT_EQ(window->chooseColour(window), window->background());
    EXPECT_EQ(offered, window->background());
}

TEST_F(LatticeHold, SaveDialogsOfferTheScalesFolderAndName)
{
    forgetChosenFolder();
    savePaths = {dir.filePath("major.SCL")};
    window->files().saveAs();
    EXPECT_EQ(dialogs->suggestion(), QString());  // no file, no folder used yet
    window->files().exportSvg();
    EXPECT_EQ(dialogs->suggestion(), dir.filePath("major.svg"));
    window->files().saveAs();
    EXPECT_EQ(dialogs->suggestion(), dir.filePath("major.SCL"));
}

}  // namespace
}  // namespace tv::test
