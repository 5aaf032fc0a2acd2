#include "KeyboardWindowFixture.h"

#include "platform/qt/DialogUnits.h"
#include "ui/editor/ScriptEditor.h"
#include "ui/keyboard/QtKeyCodes.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace tv::test {
namespace {

TEST(QtKeyCodes, KeysByIdentityShiftedOrNot)
{
    const struct {
        int qtKey;
        int code;
    } cases[] = {
        {Qt::Key_Space, 32},
        {Qt::Key_0, 48},
        {Qt::Key_9, 57},
        {Qt::Key_A, 65},
        {Qt::Key_Z, 90},
        {Qt::Key_F1, 112},
        {Qt::Key_F10, 121},
        {Qt::Key_F12, 123},
        {Qt::Key_Semicolon, 186},
        {Qt::Key_Colon, 186},
        {Qt::Key_Equal, 187},
        {Qt::Key_Plus, 187},
        {Qt::Key_Comma, 188},
        {Qt::Key_Less, 188},
        {Qt::Key_Minus, 189},
        {Qt::Key_Underscore, 189},
        {Qt::Key_Period, 190},
        {Qt::Key_Greater, 190},
        {Qt::Key_Slash, 191},
        {Qt::Key_Question, 191},
        {Qt::Key_BracketLeft, 219},
        {Qt::Key_BraceLeft, 219},
        {Qt::Key_Backslash, 220},
        {Qt::Key_Bar, 220},
        {Qt::Key_BracketRight, 221},
        {Qt::Key_BraceRight, 221},
        {Qt::Key_Apostrophe, 222},
        {Qt::Key_QuoteDbl, 222},
        {Qt::Key_Exclam, 49},
        {Qt::Key_At, 50},
        {Qt::Key_NumberSign, 51},
        {Qt::Key_Dollar, 52},
        {Qt::Key_Percent, 53},
        {Qt::Key_AsciiCircum, 54},
        {Qt::Key_Ampersand, 55},
        {Qt::Key_Asterisk, 56},
        {Qt::Key_ParenLeft, 57},
        {Qt::Key_ParenRight, 48},
        {Qt::Key_Return, -1},
        {Qt::Key_Enter, -1},
        {Qt::Key_Left, -1},
        {Qt::Key_Down, -1},
        {Qt::Key_Tab, -1},
        {Qt::Key_Shift, -1},
        {Qt::Key_Escape, -1},
        {Qt::Key_F13, -1},
        {Qt::Key_QuoteLeft, -1},
        {Qt::Key_AsciiTilde, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keyCodeForQtKey(c.qtKey), c.code) << std::hex << c.qtKey;
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_5, Qt::KeypadModifier), -1);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_5, Qt::ShiftModifier), 53);
}

using KeyboardKeys = KeyboardWindowFixture;

TEST_F(KeyboardKeys, WindowAndKeysWhereTheLayoutPutsThem)
{
    const DialogUnits units(DialogUnits::dialogFont());
    EXPECT_EQ(window->windowTitle(), "Tonalvane Keyboard");
    EXPECT_EQ(window->size(), units.size(290, 190));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the window can be resized";
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    // The ends of every row, the odd "\" and the keys beside the Shift label.
    const struct {
        int code, x, y, width;
    } places[] = {{112, 28, 48, 18},   {123, 238, 48, 18}, {'1', 18, 68, 18},   {187, 227, 68, 18},
                  {220, 258, 69, 18},  {'Q', 28, 89, 18},  {221, 238, 89, 18},  {'A', 37, 109, 18},
                  {222, 227, 109, 18}, {'Z', 48, 130, 18}, {191, 219, 130, 18}, {32, 48, 151, 131}};
    for (const auto& p : places) {
        const QPushButton* button = key(p.code);
        ASSERT_TRUE(button) << p.code;
        const QRect inWindow(button->mapTo(window, QPoint(0, 0)), button->size());
        EXPECT_EQ(inWindow, units.rect(p.x, p.y, p.width, 18)) << p.code;
    }
    const QLabel* shift = window->keys()->shiftLabel();
    EXPECT_EQ(QRect(shift->mapTo(window, QPoint(0, 0)), shift->size()),
              units.rect(18, 130, 27, 18));
    const KeyCommand commands[] = {
        KeyCommand::Open, KeyCommand::SaveKeyboard, KeyCommand::SaveRecording, KeyCommand::Edit,
        KeyCommand::Play, KeyCommand::Rewind,       KeyCommand::Record};
    const int xs[] = {16, 53, 89, 125, 162, 199, 236};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(command(commands[i])->geometry(), units.rect(xs[i], 12, 32, 22)) << i;
        EXPECT_FALSE(command(commands[i])->icon().isNull()) << i;
        EXPECT_TRUE(command(commands[i])->text().isEmpty()) << i;
    }
    // Every slot has its button; F1 and F10 cannot be clicked.
    for (int slot = 0; slot < keySlotCount; ++slot) {
        const int code = keyForSlot(slot);
        ASSERT_TRUE(key(code)) << slot;
        EXPECT_EQ(key(code)->isEnabled(), code != 112 && code != 121) << code;
    }
}

TEST_F(KeyboardKeys, ShiftChangesCaptionsAndTheLabelOnly)
{
    const struct {
        int code;
        const char* up;
        const char* down;
    } captions[] = {{'A', "a", "A"},   {'1', "1", "!"}, {'7', "7", "&"},  {'0', "0", ")"},
                    {186, ";", ":"},   {191, "/", "?"}, {220, "\\", "|"}, {222, "'", "\""},
                    {116, "F5", "F5"}, {32, "", ""}};
    const auto check = [&](bool shifted) {
        EXPECT_EQ(window->shiftDown(), shifted);
        EXPECT_EQ(window->keys()->shiftLabel()->isEnabled(), shifted) << "label greyed while up";
        for (const auto& c : captions) {
            const QString caption = QString::fromUtf8(shifted ? c.down : c.up);
            EXPECT_EQ(window->keys()->caption(c.code), caption) << c.code;
            // A lone "&" would be taken for a shortcut mark and not be shown.
            EXPECT_EQ(key(c.code)->text(), QString(caption).replace("&", "&&")) << c.code;
        }
    };
    check(false);
    QTest::keyPress(window, Qt::Key_Shift);
    check(true);
    QTest::keyRelease(window, Qt::Key_Shift);
    check(false);
    EXPECT_TRUE(capture->messages().empty());
    EXPECT_FALSE(window->keyboardModified());
}

TEST_F(KeyboardKeys, TypedKeysInPlayModePlayTheirUnshiftedSlots)
{
    giveScript('A', "PLAY 1/1 1 ms");
    giveScript('1', "PLAY 2/1 1 ms");
    giveScript(186, "PLAY 1/2 1 ms");
    giveScript(222, "PLAY 4/1 1 ms");
    giveScript(' ', "PLAY 1/4 1 ms");
    giveScript(121, "PLAY 8/1 1 ms");  // F10: its button is disabled, its key plays
    command(KeyCommand::Play)->click();
    type(Qt::Key_A);
    type(Qt::Key_Exclam, Qt::ShiftModifier);
    type(Qt::Key_Colon, Qt::ShiftModifier);
    type(Qt::Key_QuoteDbl, Qt::ShiftModifier);
    type(Qt::Key_Space);
    type(Qt::Key_F10);
    type(Qt::Key_Return);
    type(Qt::Key_Left);
    type(Qt::Key_B);  // a key without a script plays nothing
    EXPECT_EQ(notesOn(), (std::vector<int>{60, 72, 48, 84, 36, 96}));
    // A click is a press too.
    key('A')->click();
    services.players().waitAll();
    EXPECT_EQ(notesOn().size(), 7u);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(KeyboardKeys, ATypedKeyTakesThePressedLookAndTheFocusAndNeverClicksAsWell)
{
    giveScript('A', "PLAY 1/1 1 ms");
    giveScript(' ', "PLAY 1/4 1 ms");
    command(KeyCommand::Play)->click();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_A);
    EXPECT_TRUE(key('A')->isDown());
    EXPECT_EQ(QApplication::focusWidget(), key('A'));
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_A);
    EXPECT_FALSE(key('A')->isDown());
    services.players().waitAll();
    // The space bar would click the focused button: it plays the space bar's slot, once.
    // Each event goes where the focus is at that moment, as typed keys do.
    for (int press = 0; press < 2; ++press) {
        QTest::keyPress(QApplication::focusWidget(), Qt::Key_Space);
        EXPECT_EQ(QApplication::focusWidget(), key(' '));
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
    }
    services.players().waitAll();
    EXPECT_EQ(notesOn(), (std::vector<int>{60, 36, 36}));
}

TEST_F(KeyboardKeys, EditModeOpensAnEditorPerPressWithTheCaptionShown)
{
    std::vector<std::pair<QString, int>> opened;
    window->setEditorOpener([&](KeyboardWindow& owner, const QString& caption, int slot) {
        EXPECT_EQ(&owner, window.data());
        opened.emplace_back(caption, slot);
    });
    giveScript('A', "PLAY 1/1 1 ms");
    type(Qt::Key_Return);
    EXPECT_FALSE(window->keyboardModified()) << "a key without a slot changed something";
    type(Qt::Key_A);
    EXPECT_TRUE(window->keyboardModified());
    type(Qt::Key_A, Qt::ShiftModifier);  // with Shift's own key events around it
    type(Qt::Key_Exclam, Qt::ShiftModifier);
    type(Qt::Key_Space);
    key(' ')->click();
    using Opened = std::pair<QString, int>;
    EXPECT_EQ(opened, (std::vector<Opened>{{"a", 11}, {"A", 11}, {"!", 2}, {"", 0}, {"", 0}}));
    EXPECT_TRUE(capture->messages().empty()) << "Edit mode played";
}

}  // namespace
}  // namespace tv::test

namespace tv::test {
namespace {

TEST_F(KeyboardKeys, AnEditedKeyPlaysWhatItsEditorSaved)
{
    type(Qt::Key_A);
    const auto editors = window->findChildren<ScriptEditor*>();
    ASSERT_EQ(editors.size(), 1);
    ScriptEditor* editor = editors.front();
    EXPECT_EQ(editor->windowTitle(), "a - Script Editor");
    editor->textField()->setPlainText("PLAY 3/2 1 ms");
    editor->compileAndSave();

    window->runCommand(KeyCommand::Play);
    window->activateWindow();
    type(Qt::Key_A);
    EXPECT_EQ(notesOn(), (std::vector<int>{67}));

    // Closing the keyboard closes its editors first; one whose changes are kept keeps it open.
    editor->textField()->setPlainText("PLAY 5/4 1 ms");
    messages.answers = {MessageService::Answer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(editor->isVisible());
    QPointer<ScriptEditor> gone = editor;
    messages.answers = {MessageService::Answer::No};
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(gone.isNull() || !gone->isVisible()) << "the editor outlived its keyboard";
}

}  // namespace
}  // namespace tv::test
