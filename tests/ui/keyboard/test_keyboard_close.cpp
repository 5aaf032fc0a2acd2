// What closing a keyboard window asks before its work goes, and what Open makes of a file
// that is not a keyboard.

#include "KeyboardWindowFixture.h"

#include "ui/common/FileSuggestion.h"

#include <QFile>

namespace tv::test {
namespace {

using Answer = MessageService::Answer;
using KeyboardClose = KeyboardWindowFixture;

TEST_F(KeyboardClose, EachAnswerKeepsOrLetsGoOfTheWindowAndItsWork)
{
    const QString recordingQ = KeyboardWindow::saveRecordingQuestion;
    const QString keyboardQ = KeyboardWindow::saveKeyboardQuestion;
    const struct Case {
        std::deque<Answer> answers;
        std::deque<QString> paths;  // the file dialogs' answers; empty ones cancel
        QStringList questions;
        bool closed;
        bool recordingUnsaved;  // while the window stays
        bool keyboardModified;
    } cases[] = {
        {{Answer::Cancel}, {}, {recordingQ}, false, true, true},
        {{Answer::Yes}, {QString()}, {recordingQ}, false, true, true},
        {{Answer::Yes, Answer::Cancel}, {"take.mid"}, {recordingQ, keyboardQ}, false, false, true},
        {{Answer::No, Answer::Yes}, {QString()}, {recordingQ, keyboardQ}, false, true, true},
        {{Answer::No, Answer::No}, {}, {recordingQ, keyboardQ}, true, false, false},
        {{Answer::Yes, Answer::Yes},
         {"take.mid", "keys.tvk"},
         {recordingQ, keyboardQ},
         true,
         false,
         false},
    };
    for (const Case& c : cases) {
        delete window.data();
        window = open();
        giveScript('A', "PLAY 1/1 1 ms");
        command(KeyCommand::Edit)->click();
        type(Qt::Key_A);  // the keyboard counts as changed
        command(KeyCommand::Play)->click();
        command(KeyCommand::Record)->click();
        type(Qt::Key_A);
        messages.texts.clear();
        messages.answers = c.answers;
        for (const QString& name : c.paths)
            paths.push_back(name.isEmpty() ? name : path(name));
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(messages.texts, c.questions) << c.questions.size();
        ASSERT_EQ(window.isNull(), c.closed) << c.questions.size();
        for (const QString& name : c.paths)
            EXPECT_TRUE(name.isEmpty() || QFile::exists(path(name))) << name.toStdString();
        if (c.closed)
            continue;
        EXPECT_EQ(window->recordingUnsaved(), c.recordingUnsaved);
        EXPECT_EQ(window->keyboardModified(), c.keyboardModified);
        EXPECT_EQ(window->slotAt(11)->scriptText, "PLAY 1/1 1 ms");
    }
}

TEST_F(KeyboardClose, OpenSaysWhenAFileIsNoKeyboardAndOtherwiseAddsItsKeys)
{
    const auto write = [this](const char* name, const QByteArray& bytes) {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    };
    giveScript('A', "PLAY 1/1 1 ms");
    const QString scale = write("major.scl", "! major.scl\nMajor\n 2\n3/2\n2/1\n");
    const QString binary = write("noise.bin", QByteArray("\x89PNG\r\n\x1a\n\0\0 #", 13));
    const QString empty = write("empty.tvk", "");
    const QString keys = write("b.tvk", "#12\r\nPLAY 3/2 1 ms\r\n~0000\r\n");
    paths = {scale, binary, empty, keys};
    for (int i = 0; i < 4; ++i)
        command(KeyCommand::Open)->click();
    EXPECT_EQ(messages.texts, (QStringList{"major.scl is not a keyboard file",
                                           "noise.bin is not a keyboard file"}));
    EXPECT_EQ(window->slotAt(11)->scriptText, "PLAY 1/1 1 ms");
    EXPECT_EQ(window->slotAt(12)->scriptText, "PLAY 3/2 1 ms");
    EXPECT_EQ(window->files().keyboardPath(), keys);
}

TEST_F(KeyboardClose, SaveDialogsStartAtTheKeyboardsOwnFileOrTheLastFolder)
{
    forgetChosenFolder();
    giveScript('A', "PLAY 1/1 1 ms");
    command(KeyCommand::Edit)->click();
    type(Qt::Key_A);
    command(KeyCommand::SaveKeyboard)->click();  // cancelled: nothing known yet
    paths = {path("k.tvk")};
    command(KeyCommand::Edit)->click();
    type(Qt::Key_A);
    command(KeyCommand::SaveKeyboard)->click();
    command(KeyCommand::Play)->click();
    command(KeyCommand::Record)->click();
    type(Qt::Key_A);
    paths = {path("take.mid")};
    command(KeyCommand::SaveRecording)->click();
    type(Qt::Key_A);
    command(KeyCommand::SaveRecording)->click();
    command(KeyCommand::Edit)->click();
    type(Qt::Key_A);
    command(KeyCommand::SaveKeyboard)->click();
    command(KeyCommand::Open)->click();
    std::vector<QString> suggested;
    for (const FileQuestion& question : asked)
        suggested.push_back(question.suggestedPath);
    EXPECT_EQ(suggested, (std::vector<QString>{QString(), QString(), path("k.mid"),
                                               path("take.mid"), path("k.tvk"),
                                               services.dir.path()}));
}

}  // namespace
}  // namespace tv::test
