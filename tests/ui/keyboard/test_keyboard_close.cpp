// Closing a keyboard window asks before work goes; Open refuses what is not a keyboard.
#include "KeyboardWindowFixture.h"

#include <QFile>

namespace tv::test {
namespace {

using Answer = MessageService::Answer;
using KeyboardClose = KeyboardWindowFixture;

TEST_F(KeyboardClose, CancelOrACancelledSaveKeepsTheWindowAndItsWork)
{
    const QString rec = KeyboardWindow::saveRecordingQuestion;
    const QString keys = KeyboardWindow::saveKeyboardQuestion;
    // The answers, the questions asked, whether the window went; Yes meets a cancelled dialog.
    const std::tuple<std::deque<Answer>, QStringList, bool> cases[] = {
        {{Answer::Cancel}, {rec}, false},
        {{Answer::Yes}, {rec}, false},
        {{Answer::No, Answer::Yes}, {rec, keys}, false},
        {{Answer::No, Answer::No}, {rec, keys}, true},
    };
    for (const auto& [answers, asked, closed] : cases) {
        delete window.data();
        window = open();
        giveScript('A', "PLAY 1/1 1 ms");
        type(Qt::Key_A);  // Edit mode: the keyboard counts as changed
        command(KeyCommand::Play)->click();
        command(KeyCommand::Record)->click();
        type(Qt::Key_A);
        messages.texts.clear();
        messages.answers = answers;
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(messages.texts, asked);
        ASSERT_EQ(window.isNull(), closed);
        EXPECT_TRUE(closed || (window->recordingUnsaved() && window->keyboardModified() &&
                               window->slotAt(11)->scriptText == "PLAY 1/1 1 ms"));
    }
}

TEST_F(KeyboardClose, OpenRefusesAFileWithoutKeys)
{
    giveScript('A', "PLAY 1/1 1 ms");
    QFile scale(path("major.scl"));
    ASSERT_TRUE(scale.open(QIODevice::WriteOnly) && scale.write("! major.scl\nMajor\n 1\n3/2\n"));
    scale.close();
    paths = {scale.fileName()};
    command(KeyCommand::Open)->click();
    EXPECT_EQ(messages.texts, QStringList{"major.scl is not a keyboard file"});
    EXPECT_EQ(window->slotAt(11)->scriptText, "PLAY 1/1 1 ms");
}

}  // namespace
}  // namespace tv::test
