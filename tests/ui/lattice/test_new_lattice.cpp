#include "platform/qt/DialogUnits.h"
#include "support/RecordingMessageService.h"
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
    test::RecordingMessageService messages;
    NewLatticeDialog dialog(messages);
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

    // A lattice drawn on the circle offers the circle; a style without a layout, Velmor.
    EXPECT_EQ(checks(NewLatticeDialog(messages, 1).styleButtons()), "01000");
    EXPECT_EQ(checks(NewLatticeDialog(messages, 3).styleButtons()), "10000");
}

TEST(NewLatticeDialogTest, OnlyStylesWithALayoutCanBeChosenAndShowBoxesAreIndependent)
{
    test::RecordingMessageService messages;
    NewLatticeDialog dialog(messages);
    dialog.show();
    const auto& c = dialog.controls();
    const auto& styles = dialog.styleButtons();
    EXPECT_EQ(dialog.styleGroup()->buttons().size(), 5);
    std::string enabled;
    for (const auto* button : styles)
        enabled += button->isEnabled() ? '1' : '0';
    EXPECT_EQ(enabled, "11000");
    QTest::mouseClick(c.chalmersButton, Qt::LeftButton);
    EXPECT_EQ(checks(styles), "10000");
    QTest::mouseClick(c.planetaryButton, Qt::LeftButton);  // apart in the Tab order
    EXPECT_EQ(checks(styles), "01000");
    QTest::mouseClick(c.velmorButton, Qt::LeftButton);
    EXPECT_EQ(checks(styles), "10000");
    QTest::mouseClick(c.planetaryButton, Qt::LeftButton);

    const auto& shows = dialog.showBoxes();
    for (QCheckBox* box : {c.linesBox, c.circlesBox, c.ratiosBox})
        QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(checks(shows), "0011");
    EXPECT_EQ(checks(styles), "01000");
}

TEST(NewLatticeDialogTest, TabFollowsTheTableOrderWithTheStylesAsOneStop)
{
    test::RecordingMessageService messages;
    NewLatticeDialog dialog(messages);
    const auto& c = dialog.controls();
    // Disabled buttons stay in the chain; Tab passes them by.
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

TEST(NewLatticeDialogTest, EachShowBoxReachesItsOwnChoice)
{
    // Ratios starts checked, the other three not; a click turns one of them over.
    for (std::size_t clicked = 0; clicked < 4; ++clicked) {
        test::RecordingMessageService messages;
        NewLatticeDialog dialog(messages);
        dialog.show();
        QTest::mouseClick(dialog.showBoxes()[clicked], Qt::LeftButton);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        std::array<bool, 4> expected{true, false, false, false};
        expected[clicked] = !expected[clicked];
        const NewLatticeChoice choice = dialog.choice();
        EXPECT_EQ(
            (std::array<bool, 4>{choice.ratios, choice.exponents, choice.lines, choice.circles}),
            expected)
            << clicked;
    }
}

TEST(NewLatticeDialogTest, OkTakesAnEmptyOrInRangeLimitAndRefusesAnyOther)
{
    struct Case {
        const char* typed;
        const char* field;  // what the digits-only field keeps
        bool accepted;
        std::uint32_t limit;
    };
    const Case cases[] = {
        {"", "", true, 0},        {"1", "1", true, 1},    {"7-a", "7", true, 7},
        {"015", "015", true, 15}, {"8", "8", true, 8},    {"0", "0", false, 0},
        {"45", "45", true, 45},   {"46", "46", false, 0}, {"99999999999", "99999999999", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        test::RecordingMessageService messages;
        NewLatticeDialog dialog(messages);
        dialog.show();
        QTest::mouseClick(dialog.controls().planetaryButton, Qt::LeftButton);
        QTest::keyClicks(dialog.limitEdit(), c.typed);
        EXPECT_EQ(dialog.limitEdit()->text(), c.field);
        QTest::keyClick(dialog.limitEdit(), Qt::Key_Return);
        EXPECT_EQ(dialog.isVisible(), !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_TRUE(messages.texts.isEmpty());
            EXPECT_EQ(dialog.choice().limit, c.limit);
            EXPECT_EQ(dialog.choice().style, 1);
        } else {
            EXPECT_EQ(messages.texts, QStringList{NewLatticeDialog::limitRangeMessage});
            // The field is selected for mending.
            EXPECT_EQ(dialog.focusWidget(), dialog.limitEdit());
            EXPECT_EQ(dialog.limitEdit()->selectedText(), c.field);
        }
    }
    EXPECT_EQ(NewLatticeDialog::limitRangeMessage, "Limit must be between 1 and 45");

    test::RecordingMessageService messages;
    NewLatticeDialog cancelled(messages);
    cancelled.show();
    QTest::keyClicks(cancelled.limitEdit(), "99");
    QTest::mouseClick(cancelled.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(cancelled.isVisible());
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_TRUE(messages.texts.isEmpty());
}

}  // namespace
}  // namespace tv
