#include "KeyboardWindowFixture.h"

#include "core/keyboard/KeyboardFile.h"
#include "platform/qt/SettingsStore.h"

#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace tv::test {
namespace {

using KeyboardWindowTest = KeyboardWindowFixture;
using Answer = MessageService::Answer;

// The Record button's picture: a square reaches the corners its circle leaves empty.
bool showsSquare(const QPushButton* record)
{
    const QImage image = record->icon().pixmap(32, 32).toImage();
    EXPECT_GT(qRed(image.pixel(16, 16)), 150) << "not red";
    return qAlpha(image.pixel(8, 8)) > 128;
}

void closeNow(QPointer<KeyboardWindow>& window)
{
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(KeyboardWindowTest, ModeButtonsAndTheRecordingControls)
{
    QPushButton* record = command(KeyCommand::Record);
    QPushButton* rewind = command(KeyCommand::Rewind);
    const auto expect = [&](KeyCommand pressed, bool recordUsable) {
        for (const KeyCommand mode :
             {KeyCommand::Open, KeyCommand::SaveKeyboard, KeyCommand::SaveRecording,
              KeyCommand::Edit, KeyCommand::Play})
            EXPECT_EQ(command(mode)->isChecked(), mode == pressed) << static_cast<int>(mode);
        EXPECT_EQ(window->editMode(), pressed == KeyCommand::Edit);
        EXPECT_EQ(rewind->isEnabled(), recordUsable);
        EXPECT_EQ(record->isEnabled(), recordUsable);
    };
    expect(KeyCommand::Edit, false);
    EXPECT_FALSE(showsSquare(record));
    command(KeyCommand::Play)->click();
    expect(KeyCommand::Play, true);
    record->click();
    EXPECT_TRUE(window->recording().isRecording());
    EXPECT_TRUE(showsSquare(record));
    // With nothing to save, Save only takes the pressed look; keys play and record on.
    giveScript('A', "PLAY 1/1 1 ms");
    command(KeyCommand::SaveKeyboard)->click();
    expect(KeyCommand::SaveKeyboard, true);
    type(Qt::Key_A);
    EXPECT_EQ(notesOn().size(), 1u);
    EXPECT_EQ(window->recording().presses().size(), 1u);
    EXPECT_TRUE(asked.empty());
    // Play again ends the recording; Edit ends it too and takes Rewind and Record away.
    command(KeyCommand::Play)->click();
    EXPECT_FALSE(window->recording().isRecording());
    EXPECT_FALSE(showsSquare(record));
    EXPECT_FALSE(record->isChecked());
    record->click();
    command(KeyCommand::Edit)->click();
    expect(KeyCommand::Edit, false);
    EXPECT_FALSE(showsSquare(record));
}

TEST_F(KeyboardWindowTest, RecordsPressesOnlyInPlayModeWithTheirElapsedTime)
{
    command(KeyCommand::Record)->click();  // disabled in Edit mode
    type(Qt::Key_A);
    EXPECT_TRUE(window->recording().presses().empty());
    command(KeyCommand::Play)->click();
    type(Qt::Key_A);  // not recording yet
    now = 5000;
    command(KeyCommand::Record)->click();
    now = 5250;
    type(Qt::Key_A);
    now = 5300;
    type(Qt::Key_Exclam, Qt::ShiftModifier);  // recorded as the key of "1"
    command(KeyCommand::Record)->click();
    now = 9000;
    type(Qt::Key_A);
    // Record again keeps counting from the first start.
    command(KeyCommand::Record)->click();
    now = 10000;
    type(Qt::Key_Space);
    type(Qt::Key_Return);
    EXPECT_EQ(window->recording().presses(),
              (std::vector<std::uint32_t>{pressRecord('A', 250), pressRecord('1', 300),
                                          pressRecord(' ', 5000)}));
    EXPECT_TRUE(window->recordingUnsaved());
    command(KeyCommand::Rewind)->click();
    EXPECT_TRUE(window->recording().presses().empty());
    EXPECT_FALSE(window->recordingUnsaved());
}

TEST_F(KeyboardWindowTest, SaveButtonsAskOnlyWithSomethingToSaveAndForgetACancel)
{
    command(KeyCommand::SaveKeyboard)->click();
    command(KeyCommand::SaveRecording)->click();
    EXPECT_TRUE(asked.empty());

    command(KeyCommand::Edit)->click();
    type(Qt::Key_A);  // Edit mode: the keyboard counts as changed
    command(KeyCommand::Play)->click();
    command(KeyCommand::Record)->click();
    type(Qt::Key_A);
    paths = {path("take.mid")};
    command(KeyCommand::SaveRecording)->click();
    command(KeyCommand::SaveKeyboard)->click();  // cancelled
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, "Save recording");
    EXPECT_EQ(asked[0].defaultSuffix, "mid");
    EXPECT_EQ(asked[1].title, "Save keyboard");
    EXPECT_EQ(asked[1].defaultSuffix, "tvk");
    QFile take(path("take.mid"));
    ASSERT_TRUE(take.open(QIODevice::ReadOnly));
    EXPECT_EQ(take.read(4), "MThd");
    EXPECT_FALSE(window->recordingUnsaved());
    EXPECT_FALSE(window->keyboardModified());
    // A write that fails keeps the keyboard's changes to be saved later.
    command(KeyCommand::Edit)->click();
    type(Qt::Key_A);
    paths = {path("missing/k.tvk")};
    command(KeyCommand::SaveKeyboard)->click();
    EXPECT_EQ(messages.texts,
              QStringList{"Unable to open " + path("missing/k.tvk") + " for writing"});
    EXPECT_TRUE(window->keyboardModified());
    // So closing asks again; No lets the window go.
    closeNow(window);
    EXPECT_EQ(messages.texts.last(), KeyboardWindow::saveKeyboardQuestion);
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_TRUE(window.isNull());
}

TEST_F(KeyboardWindowTest, ClosingAsksAboutTheWorkAndStoresThePlacement)
{
    // The first window opens centred.
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((window->geometry().center() - centre).manhattanLength(), 4);
    giveScript('A', "PLAY 1/1 1 ms");
    type(Qt::Key_A);
    command(KeyCommand::Play)->click();
    command(KeyCommand::Record)->click();
    type(Qt::Key_A);
    const QRect outer = window->frameGeometry();
    // Stored as the frame's corner and the client's size.
    const QRect inner = QRect(outer.topLeft(), window->geometry().size());
    messages.answers = {Answer::No, Answer::Yes};  // the recording is let go, the keyboard saved
    paths = {path("keys.tvk")};
    closeNow(window);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "Save keyboard");
    EXPECT_EQ(messages.texts, (QStringList{KeyboardWindow::saveRecordingQuestion,
                                           KeyboardWindow::saveKeyboardQuestion}));
    EXPECT_TRUE(window.isNull());
    KeySlots read;
    ASSERT_TRUE(readKeyboardFile(read, path("keys.tvk").toStdString()).ok);
    EXPECT_EQ(read.slotAt(11)->scriptText, "PLAY 1/1 1 ms");
    const QString stored("%1 %2 %3 %4");
    EXPECT_EQ(
        services.settings().value("KeyboardWindow"),
        stored.arg(inner.left()).arg(inner.top()).arg(inner.right() + 1).arg(inner.bottom() + 1));
    // The next window opens there.
    window = open();
    EXPECT_EQ(window->frameGeometry(), outer);
}

TEST_F(KeyboardWindowTest, OpenReadsIntoTheSlotsAndTurnsToEditMode)
{
    KeySlots file;
    file.slotAt(12)->scriptText = "PLAY 3/2 1 ms";
    file.slotAt(12)->code = compileScript("PLAY 3/2 1 ms").code;
    ASSERT_TRUE(writeKeyboardFile(file, path("b.tvk").toStdString()).ok);
    command(KeyCommand::Play)->click();
    paths = {path("b.tvk")};
    command(KeyCommand::Open)->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "Open keyboard");
    EXPECT_EQ(asked[0].mode, FileQuestion::Mode::Open);
    EXPECT_TRUE(window->editMode());
    EXPECT_FALSE(command(KeyCommand::Record)->isEnabled());
    EXPECT_FALSE(window->keyboardModified());
    EXPECT_EQ(window->slotAt(12)->scriptText, "PLAY 3/2 1 ms");
    command(KeyCommand::Play)->click();
    type(Qt::Key_B);
    EXPECT_EQ(notesOn(), std::vector<int>{67});
}

TEST_F(KeyboardWindowTest, AfterAFailedReadSavingOverThatFileAsksFirst)
{
    const QString bad = path("bad.tvk");
    paths = {bad};
    command(KeyCommand::Open)->click();
    EXPECT_EQ(messages.texts, QStringList{"Unable to open " + bad + " for reading"});
    EXPECT_FALSE(command(KeyCommand::Edit)->isChecked());
    const QString question = "bad.tvk was not read completely. Save over it anyway?";

    command(KeyCommand::Edit)->click();
    type(Qt::Key_A);
    paths = {bad};
    command(KeyCommand::SaveKeyboard)->click();  // No, the list's default
    EXPECT_EQ(messages.texts.last(), question);
    EXPECT_FALSE(QFile::exists(bad));

    command(KeyCommand::Edit)->click();
    type(Qt::Key_A);
    messages.answers = {Answer::Yes};
    paths = {bad};
    command(KeyCommand::SaveKeyboard)->click();
    EXPECT_EQ(messages.texts.size(), 3);
    EXPECT_TRUE(QFile::exists(bad));
    // Once written, the file holds what the window holds: no more questions.
    command(KeyCommand::Edit)->click();
    type(Qt::Key_A);
    paths = {bad};
    command(KeyCommand::SaveKeyboard)->click();
    EXPECT_EQ(messages.texts.size(), 3);
}

TEST(DialogQuestion, TheSaveOverQuestionHasNoForItsDefault)
{
    // Enter in the platform's message box answers the question with its default button.
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            QTest::keyClick(box, Qt::Key_Return);
    });
    timer.start(10);
    DialogMessageService dialogs;
    EXPECT_EQ(dialogs.askYesNo(KeyboardFileCommands::notReadQuestion("/x/bad.tvk")), Answer::No);
}

TEST_F(KeyboardWindowTest, ClosingStopsOnlyThisWindowsPlayersAndEndsTheirNotes)
{
    // Channel 0 is shared: the second window's chord ends the first window's note there, and
    // the first window's note on channel 1 is left for its close to end.
    QPointer<KeyboardWindow> first = window;
    giveScript('A', "PLAY 1/1 5/4 600 SEC");
    command(KeyCommand::Play)->click();
    window = open();
    giveScript('A', "PLAY 2/1 600 SEC");
    command(KeyCommand::Play)->click();
    QTest::keyClick(first, Qt::Key_A);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notesOn().size() == 2; }));
    QTest::keyClick(window, Qt::Key_A);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notesOn().size() == 3; }));
    // The first window's code stays alive for its player after the slot lets it go.
    first->slotAt(11)->code.reset();
    ASSERT_EQ(services.players().running(), 2u);
    ASSERT_TRUE(services.output.sounding(1, 63));
    closeNow(first);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(services.players().running(), 1u);
    EXPECT_FALSE(services.output.sounding(1, 63));
    EXPECT_TRUE(services.output.sounding(0, 72)) << "another window's note was ended";
    EXPECT_EQ(capture->hex().back(), "81 3f 00");
    closeNow(window);
    EXPECT_EQ(services.players().running(), 0u);
    EXPECT_FALSE(services.output.sounding(0, 72));
}

TEST_F(KeyboardWindowTest, APlayersMessageIsShownOnTheWindowsThread)
{
    window->slotAt(11)->code =
        std::make_shared<const CompiledScript>(std::vector<std::uint8_t>{0x41, 0});
    command(KeyCommand::Play)->click();
    type(Qt::Key_A);
    EXPECT_TRUE(messages.texts.isEmpty()) << "shown from the player's thread";
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.texts, QStringList{"Cannot interpret script: A (0x41)"});
}

}  // namespace
}  // namespace tv::test
