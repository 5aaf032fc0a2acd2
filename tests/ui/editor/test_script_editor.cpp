// The script editor window: the current editor, compile and save, warnings, revert, closing
// and printing.

#include "EditorFixture.h"

#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayers.h"
#include "ui/editor/ScriptPrinting.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <QSignalSpy>
#include <QTreeWidget>

namespace tv::test {
namespace {

using Answer = MessageService::Answer;
using ScriptEditorTest = EditorFixture;
using Listeners = std::vector<ElementListener*>;

TEST_F(ScriptEditorTest, OpensOnTheSlotsTextWithTitleListsAndMenus)
{
    keys.slotAt(7)->scriptText = "PLAY 1/1 q\r\nREST e\r\n";
    ScriptEditor* editor = open("a", 7);
    EXPECT_EQ(editor->windowTitle(), "a - Script Editor");
    EXPECT_EQ(open("", 8)->windowTitle(), " - Script Editor");
    EXPECT_EQ(text(editor), "PLAY 1/1 q\nREST e\n");
    EXPECT_FALSE(editor->modified());
    EXPECT_EQ(editor->noteValueList()->currentText(), "msec");
    QStringList captions;
    for (QAction* menu : editor->menuBar()->actions()) {
        captions << menu->text();
        for (QAction* item : menu->menu()->actions())
            captions << (item->isSeparator() ? "---" : item->text());
    }
    EXPECT_EQ(captions,
              (QStringList{"&Script", "Compile and &Save...", "&Revert", "---", "Page Set&up...",
                           "&Print...", "&Edit", "Cu&t", "&Copy", "&Paste"}));
    const QRect place = editor->textField()->geometry();
    editor->resize(editor->size() * 2);
    EXPECT_EQ(editor->textField()->geometry(), place);
}

TEST_F(ScriptEditorTest, OnlyTheEditorWhoseTextWasFocusedLastTakesPickedPitches)
{
    ScriptEditor* first = open("a", 0);
    ScriptEditor* second = open("b", 1);
    for (ScriptEditor* focused : {first, second, first}) {
        ScriptEditor* other = focused == first ? second : first;
        activate(focused);
        focused->textField()->setFocus(Qt::MouseFocusReason);
        setText(first, "PLAY");
        setText(second, "PLAY");
        // The focus then moves on, even into the other editor's lists.
        other->commandList()->setFocus();
        activate(other);
        ASSERT_TRUE(other->commandList()->hasFocus());
        services.listeners().broadcastRatio(3, 2);
        EXPECT_EQ(text(focused), "PLAY 3/2 ");
        EXPECT_EQ(text(other), "PLAY");
    }
}

TEST_F(ScriptEditorTest, CompileAndSaveReplacesTheSlotsTextAndCodeAndListsWarnings)
{
    ScriptEditor* editor = open("c", 3);
    QSignalSpy saved(editor, &ScriptEditor::scriptSaved);
    // Characters of two and four bytes before words warned of, on lines that end in CR LF
    // once saved.
    setText(editor, "PLAY 1/1 \u00e9 q\nSLEEP \U0001D11E zork\n\nPLAY 3/2 bogus h");
    const std::string slotText = "PLAY 1/1 \xC3\xA9 q\r\nSLEEP \xF0\x9D\x84\x9E zork\r\n\r\n"
                                 "PLAY 3/2 bogus h";
    const auto before = keys.slotAt(3)->code;
    editor->runCommand(EditorCommand::CompileAndSave);
    const CompileResult expected = compileScript(slotText, CompileWarnings::Collect);
    EXPECT_EQ(keys.slotAt(3)->scriptText, slotText);
    ASSERT_NE(keys.slotAt(3)->code, before);
    EXPECT_EQ(*keys.slotAt(3)->code, *expected.code);
    EXPECT_FALSE(editor->modified());
    EXPECT_EQ(saved.size(), 1);

    // "LINE: TEXT", and a click puts the caret on the word.
    QTreeWidget* list = editor->warningList();
    ASSERT_EQ(list->topLevelItemCount(), static_cast<int>(expected.warnings.size()));
    ASSERT_GE(list->topLevelItemCount(), 3);
    for (int i = list->topLevelItemCount() - 1; i >= 0; --i) {
        const ScriptWarning& warning = expected.warnings[static_cast<std::size_t>(i)];
        QTreeWidgetItem* item = list->topLevelItem(i);
        EXPECT_EQ(item->text(0), QString("%1: %2").arg(warning.line).arg(warning.text.c_str()));
        const QString head = QString::fromStdString(slotText.substr(0, warning.offset));
        list->setFocus();
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
        EXPECT_EQ(editor->textField()->textCursor().position(), QString(head).remove('\r').size());
        EXPECT_TRUE(editor->textField()->hasFocus());
    }
    EXPECT_EQ(list->topLevelItem(0)->text(0).left(3), "1: ");

    setText(editor, "PLAY 1/1 q");
    editor->compileAndSave();
    EXPECT_EQ(list->topLevelItemCount(), 0);
}

TEST_F(ScriptEditorTest, APlayerKeepsTheCodeItStartedOn)
{
    ScriptEditor* editor = open("p", 4);
    setText(editor, "PLAY 1/1 t\nPLAY 5/4 t\nPLAY 3/2 t\nPLAY 7/4 t\nPLAY 2/1 t\nPLAY 5/2 t");
    editor->compileAndSave();
    const std::shared_ptr<const CompiledScript> oldCode = keys.slotAt(4)->code;
    ScriptPlayers& players = services.players();
    // A run's first chord cuts off the last note of the run before: compare second runs.
    for (int run = 0; run < 2; ++run) {
        services.capture->clear();
        ASSERT_TRUE(players.start(oldCode));
        players.waitAll();
    }
    const std::vector<std::uint32_t> alone = services.capture->messages();
    services.capture->clear();

    ASSERT_TRUE(players.start(oldCode));
    setText(editor, "PLAY 11/8 w");
    editor->compileAndSave();
    EXPECT_EQ(players.running(), 1u);
    players.waitAll();
    EXPECT_NE(*keys.slotAt(4)->code, *oldCode);
    EXPECT_EQ(services.capture->messages(), alone);
}

TEST_F(ScriptEditorTest, RevertAsksAndPutsTheSavedTextBack)
{
    ScriptEditor* editor = open();
    setText(editor, "PLAY 3/2 q\n");
    editor->compileAndSave();
    QTest::keyClicks(editor->textField(), "xyz");
    messages.answers = {Answer::No, Answer::Yes};
    editor->runCommand(EditorCommand::Revert);
    EXPECT_EQ(text(editor), "PLAY 3/2 q\nxyz");
    editor->runCommand(EditorCommand::Revert);
    EXPECT_EQ(text(editor), "PLAY 3/2 q\n");
    EXPECT_FALSE(editor->modified());
    EXPECT_EQ(messages.texts, QStringList(2, ScriptEditor::revertQuestion));
}

// The close box and Escape ask only when the text changed; Cancel keeps the editor open,
// listening and current. A closed editor leaves the listeners at once.
TEST_F(ScriptEditorTest, ClosingAsksToSaveAChangedScript)
{
    struct Row {
        bool escape, change;
        Answer answer;
        const char* slotText;
    };
    const Row rows[] = {
        {false, false, Answer::Yes, "old"},   {true, false, Answer::Yes, "old"},
        {false, true, Answer::Yes, "!old"},   {true, true, Answer::No, "old"},
        {false, true, Answer::Cancel, "old"}, {true, true, Answer::Cancel, "old"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        const bool closes = row.answer != Answer::Cancel;
        keys.slotAt(0)->scriptText = "old";
        messages.texts.clear();
        messages.answers = {row.answer};
        QPointer<ScriptEditor> editor = open();
        activate(editor);
        if (row.change)
            QTest::keyClicks(editor->textField(), "!");
        if (row.escape)
            QTest::keyClick(editor->textField(), Qt::Key_Escape);
        else
            editor->close();
        EXPECT_EQ(services.listeners().all().size(), closes ? 0u : 1u);
        deleteClosed();
        EXPECT_EQ(editor.isNull(), closes);
        EXPECT_EQ(messages.texts,
                  row.change ? QStringList{ScriptEditor::saveQuestion} : QStringList{});
        EXPECT_EQ(keys.slotAt(0)->scriptText, row.slotText);
        if (closes)
            continue;
        setText(editor, "");
        services.listeners().broadcastRatio(5, 4);
        EXPECT_EQ(text(editor), " 5/4 ");
        delete editor.data();
    }
    EXPECT_EQ(ScriptEditor::current(), nullptr);
}

TEST_F(ScriptEditorTest, EditorsGoWithTheirOwnerWithoutAsking)
{
    QPointer<ScriptEditor> editor = open();
    QTest::keyClicks(editor->textField(), "PLAY");
    owner.reset();
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(services.listeners().all(), Listeners{});
    EXPECT_EQ(ScriptEditor::current(), nullptr);
    EXPECT_TRUE(messages.texts.isEmpty());
}

// A shifted key's slot number has no slot: nothing in the editor can change or be saved.
TEST_F(ScriptEditorTest, ASlotNumberWithoutASlotOpensAnEditorThatCannotSave)
{
    ScriptEditor* editor = open("A", keySlotCount);
    EXPECT_FALSE(editor->menus().action(EditorCommand::CompileAndSave)->isEnabled());
    services.listeners().broadcastRatio(3, 2);
    emit editor->commandList()->activated(1);
    QTest::keyClicks(editor->textField(), "PLAY");
    EXPECT_EQ(text(editor), "");
    editor->close();
    EXPECT_TRUE(messages.texts.isEmpty());
}

struct PdfDialogs : ScriptPrintDialogs {
    QString path;
    bool choosePrinter(QPrinter& printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return !path.isEmpty();
    }
    void pageSetup(QPrinter&) override {}
};

TEST_F(ScriptEditorTest, PrintPutsTheScriptOnOnePage)
{
    ScriptEditor* editor = open();
    auto owned = std::make_unique<PdfDialogs>();
    PdfDialogs& dialogs = *owned;
    editor->setPrintDialogs(std::move(owned));
    setText(editor, QString("PLAY 1/1 q\n").repeated(300));
    dialogs.path = services.dir.filePath("script.pdf");
    editor->runCommand(EditorCommand::Print);
    QFile file(dialogs.path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              1);
    EXPECT_TRUE(messages.texts.isEmpty());

    dialogs.path = services.dir.filePath("no-such-folder/script.pdf");
    editor->runCommand(EditorCommand::Print);
    EXPECT_EQ(messages.texts, QStringList{ScriptEditor::printFailure});
}

}  // namespace
}  // namespace tv::test
