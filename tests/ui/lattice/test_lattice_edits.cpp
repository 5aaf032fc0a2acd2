#include "LatticeFilesFixture.h"

#include "core/lattice/OddLimitDiamond.h"
#include "ui/lattice/LatticeEditHistory.h"
#include "ui/lattice/RatioPropertiesDialog.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <functional>
#include <vector>

namespace tv::test {
namespace {

struct LatticeEdits : LatticeFiles {
    QAction* undoItem() const { return window->menus().action(LatticeCommand::Undo); }
    QAction* redoItem() const { return window->menus().action(LatticeCommand::Redo); }

    // Edits the element under `at` (or adds one, on empty space) through its properties
    // dialog, as the context menu does.
    void properties(QPoint at, const QString& name, const QString& numerator,
                    const QString& denominator)
    {
        window->pressRight(at);
        window->contextMenu()->hide();
        whenDialogOpens([=](QDialog* dialog) {
            auto* edit = qobject_cast<RatioPropertiesDialog*>(dialog);
            ASSERT_NE(edit, nullptr);
            edit->nameEdit()->setText(name);
            edit->numeratorEdit()->setText(numerator);
            edit->denominatorEdit()->setText(denominator);
            edit->okButton()->click();
        });
        window->contextMenu()->actions()[0]->trigger();
    }
    QPoint corner() const { return {window->view()->width() - 3, window->view()->height() - 3}; }

    // The Style menu shows the lattice's style.
    void expectStyleMarks() const
    {
        const int style = window->lattice().style();
        EXPECT_EQ(window->menus().action(LatticeCommand::StyleVelmor)->isChecked(), style == 0);
        EXPECT_EQ(window->menus().action(LatticeCommand::StylePlanetary)->isChecked(), style == 1);
    }
};

TEST_F(LatticeEdits, UndoAndRedoWalkBackAndForthThroughTheExactLattices)
{
    EXPECT_FALSE(undoItem()->isEnabled());
    EXPECT_FALSE(redoItem()->isEnabled());
    std::vector<Lattice> states{window->lattice()};
    const std::function<void()> changes[] = {
        [&] { window->runCommand(LatticeCommand::New); },
        [&] { window->runCommand(LatticeCommand::StylePlanetary); },
        [&] {
            paint(window);
            properties(inside(window, 1), "semitone", "17", "16");
        },
        [&] { properties(corner(), "seventh", "7", "4"); },
        [&] { window->runCommand(LatticeCommand::StyleVelmor); },
        [&] {
            dialogs->newChoice = NewLatticeChoice{7, 1};
            window->runCommand(LatticeCommand::New);
        },
    };
    for (const auto& change : changes) {
        change();
        ASSERT_FALSE(window->lattice() == states.back()) << states.size();
        states.push_back(window->lattice());
        EXPECT_TRUE(undoItem()->isEnabled());
        EXPECT_FALSE(redoItem()->isEnabled());
    }
    EXPECT_EQ(states[3].name(1), "semitone");
    EXPECT_EQ(states[3].numerator(1), 17u);
    EXPECT_EQ(states[4].name(12), "seventh");
    EXPECT_EQ(states[4].count(), 13);

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        SCOPED_TRACE(i);
        undoItem()->trigger();
        EXPECT_TRUE(window->lattice() == states[i - 1]);
        EXPECT_EQ(undoItem()->isEnabled(), i > 1);
        EXPECT_TRUE(redoItem()->isEnabled());
        expectStyleMarks();
    }
    undoItem()->trigger();  // nothing left: nothing changes
    EXPECT_TRUE(window->lattice() == states[0]);
    for (std::size_t i = 1; i < states.size(); ++i) {
        SCOPED_TRACE(i);
        redoItem()->trigger();
        EXPECT_TRUE(window->lattice() == states[i]);
        EXPECT_EQ(redoItem()->isEnabled(), i + 1 < states.size());
        expectStyleMarks();
    }

    // A change after an undo leaves nothing to redo.
    undoItem()->trigger();
    window->runCommand(LatticeCommand::StylePlanetary);
    EXPECT_FALSE(redoItem()->isEnabled());
    undoItem()->trigger();
    EXPECT_TRUE(window->lattice() == states[states.size() - 2]);
}

TEST_F(LatticeEdits, WhatChangesNothingIsNoStepAndTheKeysUndoAndRedo)
{
    window->runCommand(LatticeCommand::New);
    window->edits().clear();
    window->runCommand(LatticeCommand::StyleVelmor);  // already in force
    dialogs->newChoice.reset();
    window->runCommand(LatticeCommand::New);  // cancelled
    whenDialogOpens([](QDialog* dialog) { dialog->reject(); });
    window->contextMenu()->actions()[0]->trigger();
    EXPECT_FALSE(undoItem()->isEnabled());

    window->runCommand(LatticeCommand::StylePlanetary);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->lattice().style(), 0);
    QTest::keyClick(window->view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->lattice().style(), 1);
    expectStyleMarks();
}

TEST_F(LatticeEdits, UndoingNewGivesBackTheFileAndWhetherItHadChanged)
{
    const QString path = write("one.scl", "! one.scl\r\n!\r\nOne\r\n2\r\n 3/2\r\n 5/4\r\n");
    openPaths.push_back(path);
    window->runCommand(LatticeCommand::Open);
    EXPECT_FALSE(undoItem()->isEnabled());
    paint(window);
    properties(inside(window, 0), "", "7", "4");
    ASSERT_TRUE(window->files().modified());

    messages.answers = {MessageService::Answer::No};  // "Save changes to one.scl?"
    window->runCommand(LatticeCommand::New);
    EXPECT_EQ(window->windowTitle(), "Untitled - Lattice");
    EXPECT_FALSE(window->files().modified());

    undoItem()->trigger();
    EXPECT_EQ(window->windowTitle(), "one.scl - Lattice");
    EXPECT_EQ(window->files().filePath(), path);
    EXPECT_TRUE(window->files().modified());
    redoItem()->trigger();
    EXPECT_EQ(window->windowTitle(), "Untitled - Lattice");
    EXPECT_TRUE(window->files().filePath().isEmpty());
    EXPECT_FALSE(window->files().modified());
    undoItem()->trigger();
    undoItem()->trigger();  // back to the file as it was read: no change to save
    EXPECT_EQ(window->lattice().numerator(0), 3u);
    EXPECT_FALSE(window->files().modified());
    EXPECT_FALSE(undoItem()->isEnabled());

    // An edit undone after a save is a change again.
    redoItem()->trigger();
    ASSERT_TRUE(window->files().save());
    undoItem()->trigger();
    EXPECT_TRUE(window->files().modified());

    // Opening another file starts afresh.
    openPaths.push_back(path);
    messages.answers = {MessageService::Answer::No};
    window->runCommand(LatticeCommand::Open);
    EXPECT_FALSE(undoItem()->isEnabled());
    EXPECT_FALSE(redoItem()->isEnabled());
}

TEST_F(LatticeEdits, NewFromALimitBuildsTheDiamondInTheChosenStyle)
{
    dialogs->newChoice = NewLatticeChoice{9, 1};
    window->runCommand(LatticeCommand::New);
    EXPECT_EQ(dialogs->newStyleOffered, 0);
    const Lattice& lattice = window->lattice();
    const auto diamond = oddLimitDiamond(9);
    ASSERT_EQ(lattice.count(), 19);
    for (int i = 0; i < lattice.count(); ++i) {
        EXPECT_EQ(lattice.numerator(i), diamond[i].numerator) << i;
        EXPECT_EQ(lattice.denominator(i), diamond[i].denominator) << i;
    }
    EXPECT_EQ(lattice.style(), 1);
    EXPECT_EQ(lattice.title(), "9-odd-limit diamond");
    expectStyleMarks();
    EXPECT_FALSE(window->files().modified());

    // The dialog offers the style in force; an empty limit gives the default scale.
    dialogs->newChoice = NewLatticeChoice{0, 1};
    window->runCommand(LatticeCommand::New);
    EXPECT_EQ(dialogs->newStyleOffered, 1);
    EXPECT_EQ(lattice.count(), 12);
    EXPECT_EQ(lattice.name(6), "T");
    EXPECT_EQ(lattice.style(), 1);

    dialogs->newChoice = NewLatticeChoice{5, 0};
    window->runCommand(LatticeCommand::New);
    EXPECT_EQ(lattice.count(), 7);
    EXPECT_EQ(lattice.style(), 0);
    expectStyleMarks();
    // Laid out as a lattice: 5/4 one step of 5 from 1/1, 6/5 one of 3 up and one of 5 down.
    EXPECT_EQ(lattice.exponentText(indexOf(lattice, 5, 4)), "0 1 0 0 0");
    EXPECT_EQ(lattice.exponentText(indexOf(lattice, 6, 5)), "1 -1 0 0 0");
}

}  // namespace
}  // namespace tv::test
