#include "platform/qt/DialogUnits.h"
#include "ui/lattice/NewLatticeDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tv {
namespace {

// The check marks of the style row (Velmor, Planetary, Chalmers, Wilson, Fokker), or of the
// show boxes, as a string of 0 and 1.
template <typename Buttons>
std::string checks(const Buttons& buttons)
{
    std::string marks;
    for (const auto* button : buttons)
        marks += button->isChecked() ? '1' : '0';
    return marks;
}

TEST(NewLatticeDialogTest, OpensWithVelmorAndRatiosCheckedAndTheFocusOnTheLimit)
{
    NewLatticeDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Create a new lattice...");
    const DialogUnits units(DialogUnits::dialogFont());
    EXPECT_EQ(dialog.size(), units.size(254, 141));
    const auto& c = dialog.controls();
    EXPECT_EQ(c.planetaryButton->geometry(), units.rect(53, 34, 48, 13));
    EXPECT_TRUE(dialog.okButton()->isDefault());
    EXPECT_EQ(c.planetaryButton->text(), "&Planetary");
    EXPECT_EQ(c.circlesBox->text(), "C&ircles");
    EXPECT_EQ(c.styleFrame->geometry(), units.rect(7, 26, 240, 25));
    EXPECT_EQ(checks(dialog.styleButtons()), "10000");
    EXPECT_EQ(checks(dialog.showBoxes()), "1000");
    EXPECT_EQ(dialog.limitEdit()->text(), "");
    EXPECT_EQ(dialog.focusWidget(), dialog.limitEdit());
}

TEST(NewLatticeDialogTest, StyleButtonsAreOneExclusiveGroupAndShowBoxesAreIndependent)
{
    NewLatticeDialog dialog;
    dialog.show();
    const auto& c = dialog.controls();
    const auto& styles = dialog.styleButtons();
    EXPECT_EQ(dialog.styleGroup()->buttons().size(), 5);
    QTest::mouseClick(c.chalmersButton, Qt::LeftButton);
    EXPECT_EQ(checks(styles), "00100");
    QTest::mouseClick(c.velmorButton, Qt::LeftButton);
    EXPECT_EQ(checks(styles), "10000");
    QTest::mouseClick(c.planetaryButton, Qt::LeftButton);  // apart in the Tab order
    EXPECT_EQ(checks(styles), "01000");

    const auto& shows = dialog.showBoxes();
    for (QCheckBox* box : {c.linesBox, c.circlesBox, c.ratiosBox})
        QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(checks(shows), "0011");
    EXPECT_EQ(checks(styles), "01000");
}

TEST(NewLatticeDialogTest, TabFollowsTheTableOrderWithTheStylesAsOneStop)
{
    NewLatticeDialog dialog;
    const auto& c = dialog.controls();
    const std::vector<QWidget*> order{c.okButton,     c.cancelButton,   c.limitEdit,
                                      c.velmorButton, c.chalmersButton, c.wilsonButton,
                                      c.fokkerButton, c.ratiosBox,      c.exponentsBox,
                                      c.linesBox,     c.circlesBox,     c.planetaryButton};
    std::vector<QWidget*> chain;
    QWidget* w = dialog.okButton();
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            chain.push_back(w);
        w = w->nextInFocusChain();
    } while (w != dialog.okButton() && chain.size() < 40);
    EXPECT_EQ(chain, order);

    // The style group is one Tab stop, the button of it that last had the focus; the arrow
    // keys move along the row and check the button they reach.
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const auto tabFrom = [](QWidget* start, int presses) {
        start->setFocus();
        for (int i = 0; i < presses; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    };
    const std::vector<QWidget*> walk{c.cancelButton, c.limitEdit, c.velmorButton, c.ratiosBox,
                                     c.exponentsBox, c.linesBox,  c.circlesBox,   c.okButton};
    for (std::size_t i = 0; i < walk.size(); ++i)
        EXPECT_EQ(tabFrom(dialog.okButton(), static_cast<int>(i) + 1), walk[i]) << i;

    c.velmorButton->setFocus();
    QTest::keyClick(c.velmorButton, Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), c.planetaryButton);
    EXPECT_EQ(checks(dialog.styleButtons()), "01000");
    EXPECT_EQ(tabFrom(c.limitEdit, 1), c.ratiosBox);
    EXPECT_EQ(tabFrom(c.circlesBox, 1), c.planetaryButton);
    EXPECT_EQ(tabFrom(c.circlesBox, 2), c.okButton);
}

TEST(NewLatticeDialogTest, OkAndCancelCloseWithTheirResultWhateverIsEntered)
{
    NewLatticeDialog accepted;
    accepted.show();
    QTest::keyClicks(accepted.limitEdit(), "7-a1");
    EXPECT_EQ(accepted.limitEdit()->text(), "71");  // digits only
    QTest::mouseClick(accepted.controls().wilsonButton, Qt::LeftButton);
    QTest::mouseClick(accepted.okButton(), Qt::LeftButton);
    EXPECT_FALSE(accepted.isVisible());
    EXPECT_EQ(accepted.result(), QDialog::Accepted);

    NewLatticeDialog empty;
    empty.show();
    QTest::keyClick(empty.limitEdit(), Qt::Key_Return);
    EXPECT_EQ(empty.result(), QDialog::Accepted);

    NewLatticeDialog cancelled;
    cancelled.show();
    QTest::mouseClick(cancelled.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(cancelled.isVisible());
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace tv
