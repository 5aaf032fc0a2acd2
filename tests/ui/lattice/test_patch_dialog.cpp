#include "core/midi/GeneralMidi.h"
#include "platform/qt/DialogUnits.h"
#include "ui/lattice/PatchDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tv {
namespace {

// Picks an item as a user does: opens the list and clicks the item.
void pick(QComboBox* list, const QString& text)
{
    const int item = list->findText(text);
    ASSERT_GE(item, 0) << text.toStdString();
    list->showPopup();
    QAbstractItemView* view = list->view();
    const QModelIndex index = view->model()->index(item, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    ASSERT_EQ(list->currentIndex(), item);
}

QStringList items(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}

QStringList programNames(int first, int last)
{
    QStringList names;
    for (int p = first; p <= last; ++p)
        names.append(QString::fromStdString(programName(p)));
    return names;
}

int chooseAndConfirm(int patch, std::initializer_list<std::pair<bool, const char*>> picks,
                     bool ok = true)
{
    PatchDialog dialog(patch);
    dialog.show();
    for (const auto& [group, text] : picks)
        pick(group ? dialog.groupList() : dialog.programList(), text);
    QTest::mouseClick(ok ? dialog.okButton() : dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
    return dialog.patch();
}

constexpr bool group = true;
constexpr bool program = false;

TEST(PatchDialogTest, OpensOnAllWithTheCurrentPatchSelected)
{
    PatchDialog dialog(40);
    EXPECT_EQ(dialog.windowTitle(), "Set patch for lattice");
    const DialogUnits units(DialogUnits::dialogFont());
    EXPECT_EQ(dialog.size(), units.size(186, 126));
    EXPECT_TRUE(dialog.okButton()->isDefault());
    const QStringList groups{"ALL",          "PIANO",         "CHROMATIC PERCUSSION",
                             "ORGAN",        "GUITAR",        "BASS",
                             "SOLO STRINGS", "ENSEMBLE",      "BRASS",
                             "REED",         "PIPE",          "SYNTH LEAD",
                             "SYNTH PAD",    "SYNTH EFFECTS", "ETHNIC",
                             "PERCUSSIVE",   "SOUND EFFECTS"};
    EXPECT_EQ(items(dialog.groupList()), groups);
    EXPECT_EQ(dialog.groupList()->currentText(), "ALL");
    EXPECT_EQ(items(dialog.programList()), programNames(0, 127));
    EXPECT_EQ(dialog.programList()->currentText(), "Violin");
    EXPECT_EQ(dialog.focusWidget(), dialog.programList());
    EXPECT_EQ(chooseAndConfirm(40, {}), 40);
}

TEST(PatchDialogTest, GroupNarrowsTheProgramsAndOkTakesItsFirst)
{
    PatchDialog dialog(40);
    dialog.show();
    pick(dialog.groupList(), "BRASS");
    EXPECT_EQ(items(dialog.programList()), programNames(56, 63));
    EXPECT_EQ(dialog.programList()->currentText(), "Trumpet");
    EXPECT_EQ(dialog.focusWidget(), dialog.programList());
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.patch(), 56);
}

TEST(PatchDialogTest, ProgramsCountFromTheFirstOfTheGroupInForce)
{
    EXPECT_EQ(chooseAndConfirm(0, {{group, "BRASS"}, {program, "Tuba"}}), 58);
    EXPECT_EQ(chooseAndConfirm(0, {{program, "Gunshot"}}), 127);
    // "ALL" again lists every program and starts at 0.
    PatchDialog dialog(40);
    dialog.show();
    pick(dialog.groupList(), "ETHNIC");
    pick(dialog.programList(), "Koto");
    pick(dialog.groupList(), "ALL");
    EXPECT_EQ(dialog.programList()->count(), 128);
    EXPECT_EQ(dialog.programList()->currentText(), "Acoustic Grand");
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.patch(), 0);
}

TEST(PatchDialogTest, CancelAfterAnyChoiceKeepsThePatch)
{
    EXPECT_EQ(chooseAndConfirm(40, {{group, "BRASS"}, {program, "Tuba"}}, false), 40);
}

TEST(PatchDialogTest, TypingIntoTheListsChangesNothing)
{
    PatchDialog dialog(40);
    dialog.show();
    QLineEdit* groupEdit = dialog.groupList()->lineEdit();
    groupEdit->selectAll();
    QTest::keyClicks(groupEdit, "BRASS");
    EXPECT_EQ(dialog.programList()->count(), 128);

    QLineEdit* programEdit = dialog.programList()->lineEdit();
    programEdit->selectAll();
    QTest::keyClicks(programEdit, "Tub");
    EXPECT_EQ(programEdit->text(), "Tub");  // nothing completed
    QTest::keyClicks(programEdit, "a");
    // Enter reaches the default button: the dialog closes with the patch it had.
    QTest::keyClick(programEdit, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.programList()->currentIndex(), 40);
    EXPECT_EQ(dialog.patch(), 40);
}

TEST(PatchDialogTest, TypedTextPicksNothingWhenTheFocusLeavesTheList)
{
    // The lists look typed text up when they lose the focus; that must not count as a pick.
    struct Case {
        bool inGroupList;
        const char* typed;
        Qt::Key leaveWith;  // Tab moves on, then OK is clicked; Enter confirms at once
        int patch;
    };
    const Case cases[] = {
        {false, "Violin", Qt::Key_Return, 0},
        {false, "Tuba", Qt::Key_Tab, 40},
        {true, "BRASS", Qt::Key_Tab, 40},
        {true, "brass", Qt::Key_Return, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        PatchDialog dialog(c.patch);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QComboBox* list = c.inGroupList ? dialog.groupList() : dialog.programList();
        list->setFocus();
        // Keys go where the focus is, as a keyboard's would.
        ASSERT_EQ(QApplication::focusWidget(), list);
        list->lineEdit()->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), c.typed);
        ASSERT_EQ(list->lineEdit()->text(), c.typed);
        QTest::keyClick(QApplication::focusWidget(), c.leaveWith);
        if (c.leaveWith == Qt::Key_Tab) {
            ASSERT_NE(QApplication::focusWidget(), list);
            QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        }
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.patch(), c.patch);
        EXPECT_EQ(dialog.groupList()->currentText(), "ALL");
        EXPECT_EQ(dialog.programList()->count(), 128);
        EXPECT_EQ(dialog.programList()->currentIndex(), c.patch);
    }
}

}  // namespace
}  // namespace tv
