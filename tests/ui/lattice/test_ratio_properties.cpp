#include "core/lattice/Lattice.h"
#include "platform/qt/DialogUnits.h"
#include "support/RecordingMessageService.h"
#include "ui/lattice/RatioPropertiesDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace tv {
namespace {

constexpr int fifth = 7;       // "P5", 3/2, in the default scale
constexpr int majorThird = 4;  // "M3", 5/4

using Field = QLineEdit* (RatioPropertiesDialog::*)() const;
constexpr Field name = &RatioPropertiesDialog::nameEdit;
constexpr Field numerator = &RatioPropertiesDialog::numeratorEdit;
constexpr Field denominator = &RatioPropertiesDialog::denominatorEdit;
constexpr Field cents = &RatioPropertiesDialog::centsEdit;
constexpr Field octave = &RatioPropertiesDialog::octaveEdit;
using Entries = std::vector<std::pair<Field, QString>>;

// Replaces a field's text by typing, so that its input rules apply.
void type(RatioPropertiesDialog& dialog, Field field, const QString& text)
{
    QLineEdit* edit = (dialog.*field)();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Everything about an element that an edit may change.
auto state(const Lattice& l, int i)
{
    return std::make_tuple(l.name(i), l.numerator(i), l.denominator(i), l.cents(i), l.octave(i),
                           l.plotX(i), l.plotY(i), l.exponentText(i), l.limit(i), l.selected(i));
}

struct RatioPropertiesTest : ::testing::Test {
    RatioPropertiesTest() { lattice.loadDefaultScale(); }

    // Opens the dialog on `index`, types the entries and presses OK (then Cancel when the
    // entries were refused); gives the result.
    int confirm(int index, const Entries& entries = {})
    {
        RatioPropertiesDialog dialog(lattice, index, messages);
        dialog.show();
        for (const auto& [field, text] : entries)
            type(dialog, field, text);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        // A refused entry keeps the dialog open; it is then cancelled.
        if (dialog.isVisible())
            QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        return dialog.result();
    }

    Lattice lattice;
    test::RecordingMessageService messages;
};

TEST_F(RatioPropertiesTest, OpensWithTheElementsFieldsAndTheFocusOnItsName)
{
    lattice.setOctave(fifth, -1);
    RatioPropertiesDialog dialog(lattice, fifth, messages);
    EXPECT_EQ(dialog.windowTitle(), "Ratio propeties");
    const DialogUnits units(DialogUnits::dialogFont());
    EXPECT_EQ(dialog.size(), units.size(184, 92));
    EXPECT_EQ(dialog.numeratorEdit()->geometry(), units.rect(33, 21, 43, 12));
    EXPECT_EQ(dialog.okButton()->geometry(), units.rect(41, 71, 32, 14));
    EXPECT_TRUE(dialog.okButton()->isDefault());
    EXPECT_EQ(dialog.nameEdit()->text(), "P5");
    EXPECT_EQ(dialog.numeratorEdit()->text(), "3");
    EXPECT_EQ(dialog.denominatorEdit()->text(), "2");
    EXPECT_EQ(dialog.centsEdit()->text(), "");
    EXPECT_EQ(dialog.octaveEdit()->text(), "-1");
    EXPECT_EQ(dialog.focusWidget(), dialog.nameEdit());

    // The octave hint is readable whole inside its box, whatever face stands in for the
    // dialog font.
    const QLabel* hint = dialog.controls().octaveHint;
    EXPECT_TRUE(hint->text().startsWith("(0 = same as base"));
    EXPECT_EQ(hint->geometry(), units.rect(79, 50, 98, 19));
    EXPECT_LE(hint->fontMetrics()
                  .boundingRect(hint->contentsRect(), Qt::TextWordWrap, hint->text())
                  .height(),
              hint->contentsRect().height());

    lattice.addCents("quarter", 50.0);
    RatioPropertiesDialog centsOnly(lattice, 12, messages);
    EXPECT_EQ(centsOnly.numeratorEdit()->text(), "0");
    EXPECT_EQ(centsOnly.denominatorEdit()->text(), "0");
    EXPECT_EQ(centsOnly.centsEdit()->text(), "");

    RatioPropertiesDialog adding(lattice, -1, messages);
    EXPECT_EQ(adding.nameEdit()->text(), "");
    EXPECT_EQ(adding.numeratorEdit()->text(), "1");
    EXPECT_EQ(adding.denominatorEdit()->text(), "1");
    EXPECT_EQ(adding.octaveEdit()->text(), "0");
}

TEST_F(RatioPropertiesTest, OnEmptySpaceOkAddsAnElementAlwaysAtOctaveZero)
{
    EXPECT_EQ(confirm(-1), QDialog::Accepted);
    ASSERT_EQ(lattice.count(), 13);
    EXPECT_EQ(lattice.name(12), "");
    EXPECT_EQ(lattice.numerator(12), 1u);
    EXPECT_EQ(lattice.denominator(12), 1u);
    EXPECT_EQ(lattice.octave(12), 0);

    confirm(-1, {{name, "septimal"}, {numerator, "7"}, {denominator, "4"}, {octave, "2"}});
    confirm(-1, {{cents, "-50"}, {octave, "-1"}});
    ASSERT_EQ(lattice.count(), 15);
    EXPECT_EQ(lattice.name(13), "septimal");
    EXPECT_EQ(lattice.exponentText(13), "0 0 1 0 0");
    EXPECT_EQ(lattice.octave(13), 0);
    EXPECT_EQ(lattice.denominator(14), 0u);
    EXPECT_EQ(lattice.cents(14), -50.0);
    EXPECT_EQ(lattice.octave(14), 0);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(RatioPropertiesTest, SignedDecimalCentsWinOverTheRatioWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    lattice.setSelected(fifth, true);
    RatioPropertiesDialog dialog(lattice, fifth, messages);
    dialog.show();
    type(dialog, numerator, "-1.5x");
    EXPECT_EQ(dialog.numeratorEdit()->text(), "15");  // digits only
    type(dialog, cents, "1,5");
    EXPECT_EQ(dialog.centsEdit()->text(), "15");  // no decimal comma
    type(dialog, numerator, "0");                 // would be refused if the ratio were read
    type(dialog, cents, "-701.955");
    type(dialog, octave, "-1");
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    QLocale::setDefault(QLocale::c());

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(lattice.numerator(fifth), 0u);
    EXPECT_EQ(lattice.denominator(fifth), 0u);
    EXPECT_DOUBLE_EQ(lattice.cents(fifth), -701.955);
    EXPECT_EQ(lattice.exponentText(fifth), "0 0 0 0 0");
    EXPECT_EQ(lattice.octave(fifth), -1);
    EXPECT_EQ(lattice.name(fifth), "P5");
    EXPECT_TRUE(lattice.selected(fifth));
}

TEST_F(RatioPropertiesTest, RefusedEntriesKeepTheDialogOpenOnTheFieldToMend)
{
    struct Case {
        Entries entries;
        QString message;
        Field mend;
    };
    const Case cases[] = {
        {{{numerator, ""}}, "Numerator of 0 is invalid", numerator},
        {{{numerator, "0"}}, "Numerator of 0 is invalid", numerator},
        {{{denominator, ""}}, "Denominator of 0 is invalid", denominator},
        {{{denominator, "000"}}, "Denominator of 0 is invalid", denominator},
        {{{numerator, "0"}, {denominator, "0"}}, "Numerator of 0 is invalid", numerator},
        {{{numerator, "4294967296"}},
         "Numerator is too large: the largest is 4294967295",
         numerator},
        {{{denominator, "99999999999999999999"}},
         "Denominator is too large: the largest is 4294967295",
         denominator},
        {{{octave, "32768"}}, "Octave must be between -32768 and 32767", octave},
        {{{octave, "-32769"}}, "Octave must be between -32768 and 32767", octave},
        {{{cents, "1" + QString(400, '0')}}, "Cents value is too large", cents},
    };
    lattice.setSelected(fifth, true);
    const auto before = state(lattice, fifth);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        messages.texts.clear();
        RatioPropertiesDialog dialog(lattice, fifth, messages);
        dialog.show();
        Entries all{{name, "changed"}, {octave, "3"}};
        all.insert(all.end(), c.entries.begin(), c.entries.end());
        for (const auto& [field, text] : all)
            type(dialog, field, text);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        EXPECT_EQ(messages.texts, QStringList{c.message});
        EXPECT_EQ(state(lattice, fifth), before);
        // Still open with everything as typed, the field to mend selected.
        ASSERT_TRUE(dialog.isVisible());
        std::map<QLineEdit*, QString> typed;
        for (const auto& [field, text] : all)
            typed[(dialog.*field)()] = text;
        for (const auto& [edit, text] : typed)
            EXPECT_EQ(edit->text(), text);
        QLineEdit* mend = (dialog.*c.mend)();
        EXPECT_EQ(dialog.focusWidget(), mend);
        EXPECT_EQ(mend->selectedText(), mend->text());
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(state(lattice, fifth), before);
    }
    messages.texts.clear();
    EXPECT_EQ(confirm(-1, {{denominator, "0"}}), QDialog::Rejected);
    EXPECT_EQ(messages.texts, QStringList{"Denominator of 0 is invalid"});
    EXPECT_EQ(lattice.count(), 12);

    // The largest values are taken whole.
    confirm(fifth, {{numerator, "4294967295"}, {denominator, "65537"}, {octave, "-32768"}});
    EXPECT_EQ(lattice.numerator(fifth), 4294967295u);
    EXPECT_EQ(lattice.denominator(fifth), 65537u);
    EXPECT_EQ(lattice.octave(fifth), -32768);
}

TEST_F(RatioPropertiesTest, CentsOnlyElementWithoutCentsReportsTheNumerator)
{
    lattice.addCents("quarter", 50.0);
    EXPECT_EQ(confirm(12), QDialog::Rejected);
    EXPECT_EQ(messages.texts, QStringList{"Numerator of 0 is invalid"});
    EXPECT_EQ(lattice.cents(12), 50.0);
    EXPECT_EQ(lattice.denominator(12), 0u);
}

TEST_F(RatioPropertiesTest, NewRatioKeepsIndexAndSelectionAndIsPlacedAgain)
{
    lattice.setSelected(fifth, true);
    EXPECT_EQ(confirm(fifth, {{numerator, "5"}, {denominator, "4"}}), QDialog::Accepted);
    ASSERT_EQ(lattice.count(), 12);
    EXPECT_EQ(lattice.numerator(fifth), 5u);
    EXPECT_EQ(lattice.denominator(fifth), 4u);
    EXPECT_TRUE(lattice.selected(fifth));
    EXPECT_EQ(lattice.name(fifth), "P5");
    // It now sits exactly where the scale's own 5/4 sits, with the same exponents and limits.
    EXPECT_EQ(lattice.exponentText(fifth), lattice.exponentText(majorThird));
    EXPECT_EQ(lattice.plotX(fifth), lattice.plotX(majorThird));
    EXPECT_EQ(lattice.plotY(fifth), lattice.plotY(majorThird));
    EXPECT_EQ(lattice.oLimit(fifth), 5);
    EXPECT_EQ(lattice.uLimit(fifth), 1);
}

TEST_F(RatioPropertiesTest, NameAndOctaveAloneAreStoredAndEnterConfirms)
{
    // A Latin-1 name from an old scale file is shown decoded; left alone, it keeps its bytes.
    lattice.setName(majorThird, "Terz \xE9");
    EXPECT_EQ(confirm(majorThird, {{octave, "1"}}), QDialog::Accepted);
    EXPECT_EQ(lattice.name(majorThird), "Terz \xE9");
    EXPECT_EQ(lattice.octave(majorThird), 1);

    RatioPropertiesDialog dialog(lattice, fifth, messages);
    dialog.show();
    type(dialog, name, "Fifth");
    type(dialog, octave, "-2");
    QTest::keyClick(dialog.octaveEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(lattice.name(fifth), "Fifth");
    EXPECT_EQ(lattice.octave(fifth), -2);
    EXPECT_EQ(lattice.exponentText(fifth), "1 0 0 0 0");
}

TEST_F(RatioPropertiesTest, CancelChangesNothing)
{
    const auto before = state(lattice, fifth);
    RatioPropertiesDialog dialog(lattice, fifth, messages);
    dialog.show();
    type(dialog, name, "gone");
    type(dialog, numerator, "0");
    type(dialog, cents, "12");
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(state(lattice, fifth), before);
    EXPECT_EQ(lattice.count(), 12);
}

}  // namespace
}  // namespace tv
