// What the editor's lists and picked pitches put into a script, and what the compiler makes of it.

#include "EditorFixture.h"

#include "core/script/ScriptCompiler.h"
#include "ui/editor/ScriptInsertions.h"
#include "ui/editor/SlotText.h"

#include <QComboBox>
#include <QLineEdit>

#include <limits>

namespace tv::test {
namespace {

using EditorInsertions = EditorFixture;

CompileResult compileField(const ScriptEditor* editor)
{
    return compileScript(toSlotText(EditorFixture::text(editor)), CompileWarnings::Collect);
}

TEST_F(EditorInsertions, CommandsAndDynamicsGoInWithASpaceInPlaceOfTheSelection)
{
    ScriptEditor* editor = open();
    const std::pair<QComboBox*, QStringList> lists[] = {
        {editor->commandList(), {"Play", "Sleep", "Base", "Tempo", "Set"}},
        {editor->dynamicsList(),
         {"ppppp", "pppp", "ppp", "pp", "p", "mp", "mf", "f", "ff", "fff", "ffff", "fffff"}},
    };
    for (const auto& [list, items] : lists) {
        ASSERT_EQ(list->count(), items.size());
        for (int i = 0; i < list->count(); ++i) {
            EXPECT_EQ(list->itemText(i), items[i]);
            setText(editor, "<ab>", 1, 3);
            emit list->activated(i);
            EXPECT_EQ(text(editor), "<" + items[i] + " >");
        }
    }
}

// Each note value, chosen after a chord's pitch or after SLEEP, gives the length its letter
// has at the default tempo (a quarter of 500 ms); the two units follow a number.
TEST_F(EditorInsertions, EveryNoteValueCompilesToTheLengthItNames)
{
    const std::tuple<const char*, const char*, std::uint32_t> rows[] = {
        {"msec", "250 ", 250},
        {"sec", "2 ", 2000},
        {"d (double whole)", "", 4000},
        {"w (whole)", "", 2000},
        {"h (half)", "", 1000},
        {"q (quarter)", "", 500},
        {"e (eighth)", "", 250},
        {"s (sixteenth)", "", 125},
        {"t (thirty-second)", "", 63},             // 62.5 rounded
        {"x (sixty-fourth)", "", 31},              // 31.25
        {"o (one hundred twenty-eigth)", "", 16},  // 15.625
        {"i (two hundred fifty-sixth)", "", 16},   // I is as long as O in scripts
    };
    ScriptEditor* editor = open();
    QComboBox* list = editor->noteValueList();
    ASSERT_EQ(list->count(), static_cast<int>(std::size(rows)));
    for (int i = 0; i < list->count(); ++i) {
        const auto& [item, number, ms] = rows[i];
        EXPECT_EQ(list->itemText(i), item);
        for (const QString statement : {"PLAY 1/1 ", "SLEEP "}) {
            setText(editor, statement + number);
            emit list->activated(i);
            const CompileResult result = compileField(editor);
            EXPECT_EQ(firstLength(*result.code), ms)
                << item << " after " << statement.toStdString();
            EXPECT_TRUE(statement == "SLEEP " || result.warnings.empty()) << item;
        }
    }
}

TEST_F(EditorInsertions, PickedRatiosAndCentsReplaceTheSelectionAndCannotBeUndone)
{
    ScriptEditor* editor = open();
    setText(editor, "PLAY 1/1 q", 5, 8);
    services.listeners().broadcastRatio(65535, 65536);
    EXPECT_EQ(text(editor), "PLAY  65535/65536  q");
    EXPECT_FALSE(editor->textField()->document()->isUndoAvailable());

    const std::pair<double, const char*> cents[] = {
        {701.955, " 701.955c "},           {-13.7, " -13.7c "},  {1200.0, " 1200c "},
        {386.3137138648, " 386.313714c "}, {-0.0000004, " 0c "},
    };
    for (const auto& [value, inserted] : cents) {
        setText(editor, "PLAY");
        services.listeners().broadcastCents(value);
        EXPECT_EQ(text(editor), QString("PLAY") + inserted);
    }
    EXPECT_FALSE(centsInsertion(std::numeric_limits<double>::quiet_NaN()));

    // The cents word is a pitch beside a ratio, and the length after it still counts.
    setText(editor, "PLAY 1/1");
    services.listeners().broadcastCents(-13.7);
    editor->textField()->insertPlainText("q");
    const CompileResult result = compileField(editor);
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(result.code->bytes()[1], 2);  // notes in the chord
    EXPECT_EQ(firstLength(*result.code), 500u);
}

// A list acts on a choice, never on typed text, whether the focus then leaves it or Enter is
// pressed; an arrow key chooses.
TEST_F(EditorInsertions, TypedTextInAListChangesNothing)
{
    keys.slotAt(0)->scriptText = "PLAY 1/1 q";
    ScriptEditor* editor = open();
    QComboBox* list = editor->commandList();
    activate(editor);
    for (const Qt::Key leaving : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Enter}) {
        list->setFocus(Qt::TabFocusReason);
        list->lineEdit()->selectAll();
        QTest::keyClicks(list, "Tempo");
        QTest::keyClick(list, leaving);
        list->clearFocus();
        EXPECT_EQ(list->currentIndex(), 0);
        EXPECT_EQ(list->lineEdit()->text(), "Play");
        EXPECT_EQ(list->count(), 5);
    }
    EXPECT_EQ(text(editor), "PLAY 1/1 q");
    EXPECT_FALSE(editor->modified());

    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(text(editor), "Sleep PLAY 1/1 q");
    EXPECT_TRUE(editor->modified());
    EXPECT_TRUE(list->hasFocus());
}

}  // namespace
}  // namespace tv::test
