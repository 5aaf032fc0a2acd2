#include "LatticeFilesFixture.h"

#include "platform/qt/MessageService.h"
#include "support/WithoutFilePrivilege.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <system_error>

namespace tv::test {
namespace {

using Answer = MessageService::Answer;

const QByteArray badScale = "! bad.scl\n!\nRead in part\n3\n 3/2\nhello\n 5/4\n";

TEST_F(LatticeFiles, WhatCountsAsAChangeIsWhatSaveWouldWrite)
{
    struct Case {
        const char* what;
        std::function<void(Lattice&)> edit;
        bool changed;
    };
    const Case cases[] = {
        {"nothing", [](Lattice&) {}, false},
        {"an element added", [](Lattice& l) { l.addRatio("", 7, 4); }, true},
        {"a ratio edited", [](Lattice& l) { l.setNumerator(1, 17); }, true},
        {"a ratio made cents", [](Lattice& l) { l.setDenominator(1, 0); }, true},
        {"edited and edited back",
         [](Lattice& l) {
             l.setNumerator(1, 17);
             l.setNumerator(1, 16);
         },
         false},
        {"a name", [](Lattice& l) { l.setName(1, "semitone"); }, false},
        {"an octave", [](Lattice& l) { l.setOctave(1, -1); }, false},
        {"the style", [](Lattice& l) { l.setStyle(Lattice::planetaryStyle); }, false},
        {"the selection", [](Lattice& l) { l.setSelected(1, true); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window->runCommand(LatticeCommand::New);  // the default scale, unchanged
        ASSERT_FALSE(window->files().modified());
        c.edit(window->lattice());
        EXPECT_EQ(window->files().modified(), c.changed);
    }
}

TEST_F(LatticeFiles, EveryWayOfClosingAsksBeforeAChangedLatticeGoes)
{
    const std::function<void(LatticeWindow*)> ways[] = {
        [](LatticeWindow* w) { QTest::keyClick(w->view(), Qt::Key_Return); },
        [](LatticeWindow* w) { QTest::keyClick(w->view(), Qt::Key_Escape); },
        [](LatticeWindow* w) { w->runCommand(LatticeCommand::Close); },
        [](LatticeWindow* w) { w->runCommand(LatticeCommand::Exit); },
        [](LatticeWindow* w) { w->close(); },  // the close box
    };
    delete window;
    window = nullptr;
    for (std::size_t way = 0; way < std::size(ways); ++way) {
        SCOPED_TRACE(way);
        // Unchanged: it goes at once.
        QPointer<LatticeWindow> closing = openWindow();
        ways[way](closing);
        EXPECT_FALSE(closing->isVisible());
        EXPECT_TRUE(messages.texts.isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(closing.isNull());

        // Changed: Cancel keeps it, No lets it go.
        closing = openWindow();
        closing->lattice().addRatio("", 3, 2);
        messages.answers = {Answer::Cancel, Answer::No};
        ways[way](closing);
        EXPECT_TRUE(closing->isVisible());
        EXPECT_EQ(messages.texts, QStringList{"Save changes to Untitled?"});
        ways[way](closing);
        EXPECT_FALSE(closing->isVisible());
        EXPECT_EQ(messages.texts.size(), 2);
        messages.texts.clear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(LatticeFiles, YesSavesBeforeTheLatticeGoesAndAFailedSaveKeepsIt)
{
    openPaths.push_back(write("major.scl", "! major.scl\n!\nMajor\n1\n 5/4\n"));
    window->runCommand(LatticeCommand::Open);
    window->lattice().addRatio("", 3, 2);

    // Yes, but the save fails (root writes anywhere, but not over a folder): the window stays
    // with the changes, and says why.
    std::filesystem::remove(dir.filePath("major.scl").toStdString());
    std::filesystem::create_directory(dir.filePath("major.scl").toStdString());
    messages.answers = {Answer::Yes};
    EXPECT_FALSE(window->close());
    const QString why = QString::fromStdString(std::generic_category().message(EISDIR));
    EXPECT_EQ(messages.texts,
              (QStringList{"Save changes to major.scl?",
                           "Unable to open " + dir.filePath("major.scl") + ": " + why}));
    EXPECT_TRUE(window->files().modified());

    // Open and New ask too; Yes there saves first.
    std::filesystem::remove(dir.filePath("major.scl").toStdString());
    messages.texts.clear();
    messages.answers = {Answer::Yes};
    window->runCommand(LatticeCommand::New);
    EXPECT_EQ(messages.texts, QStringList{"Save changes to major.scl?"});
    EXPECT_EQ(read(dir.filePath("major.scl")),
              "!major.scl\r\n!\r\nMajor\r\n  2\r\n!\r\n 5/4\r\n 3/2\r\n");
    EXPECT_EQ(window->lattice().count(), 12);

    // An untitled lattice asks for a file; cancelling that keeps the window.
    window->lattice().addRatio("", 7, 4);
    messages.texts.clear();
    messages.answers = {Answer::Yes};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(messages.texts, QStringList{"Save changes to Untitled?"});
    EXPECT_EQ(saveAsked, 1);
}

TEST_F(LatticeFiles, AFileReadInPartIsNotWrittenOverWithoutAskingAndSaveAsMovesOn)
{
    const QString bad = write("bad.scl", badScale);
    openPaths.push_back(bad);
    window->runCommand(LatticeCommand::Open);
    EXPECT_EQ(messages.texts, QStringList{"Unknown format:hello\n"});
    EXPECT_EQ(window->windowTitle(), "bad.scl - Lattice");
    EXPECT_EQ(window->lattice().count(), 1);
    // Reading stopped; nothing was changed since.
    EXPECT_FALSE(window->files().modified());

    const QString question = "bad.scl was not read completely. Save over it anyway?";
    messages.texts.clear();
    window->runCommand(LatticeCommand::Save);  // No, the list's answer when it runs out
    EXPECT_EQ(messages.texts, QStringList{question});
    EXPECT_EQ(read(bad), badScale);

    // Save As to another file writes it, and the window names that file from then on.
    const QString copy = dir.filePath("copy.scl");
    savePaths.push_back(copy);
    window->runCommand(LatticeCommand::SaveAs);
    EXPECT_EQ(window->windowTitle(), "copy.scl - Lattice");
    EXPECT_EQ(window->files().filePath(), copy);
    window->lattice().addRatio("", 7, 4);
    messages.texts.clear();
    window->runCommand(LatticeCommand::Save);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_TRUE(read(copy).endsWith(" 3/2\r\n 7/4\r\n"));
    EXPECT_EQ(read(bad), badScale);

    // Back on the file read in part: Yes writes over it, and asks no more.
    openPaths.push_back(bad);
    window->runCommand(LatticeCommand::Open);
    messages.texts.clear();
    messages.answers = {Answer::Yes};
    window->runCommand(LatticeCommand::Save);
    EXPECT_EQ(messages.texts, QStringList{question});
    EXPECT_EQ(read(bad), "!bad.scl\r\n!\r\nRead in part\r\n  1\r\n!\r\n 3/2\r\n");
    window->runCommand(LatticeCommand::Save);
    EXPECT_EQ(messages.texts.size(), 1);
}

// The program's own message boxes, with their default buttons.
struct DialogServices : TestAppServices {
    DialogMessageService boxes;
    MessageService& messages() override { return boxes; }
};

TEST(LatticeFileQuestions, EnterKeepsAFileReadInPart)
{
    DialogServices services;
    auto* window = new LatticeWindow(services);
    auto fake = std::make_unique<FakeDialogs>();
    std::deque<QString> openPaths, savePaths;
    int saveAsked = 0;
    fake->openPaths = &openPaths;
    fake->savePaths = &savePaths;
    fake->saveAsked = &saveAsked;
    window->files().setDialogs(std::move(fake));
    window->show();
    const QString bad = services.dir.filePath("bad.scl");
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(badScale);
    }
    openPaths.push_back(bad);

    // Every box that opens is answered with Enter.
    QStringList shown;
    QTimer enter;
    QObject::connect(&enter, &QTimer::timeout, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown << box->text();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    enter.start(5);
    window->runCommand(LatticeCommand::Open);
    window->runCommand(LatticeCommand::Save);
    enter.stop();
    EXPECT_EQ(shown, (QStringList{"Unknown format:hello\n",
                                  "bad.scl was not read completely. Save over it anyway?"}));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), badScale);
    delete window;
}

TEST_F(LatticeFiles, BadFilesGiveAClearMessageAndLeaveTheWindowAsItWas)
{
    // The reader's message for each kind of bad file is tested with the reader; here the
    // window shows it and keeps what it had.
    window->lattice().addRatio("", 5, 4);
    savePaths.push_back(dir.filePath("mine.scl"));
    window->runCommand(LatticeCommand::Save);
    const QString path = write("unreadable.scl", "! x.scl\n!\nT\n1\n 3/2\n");
    std::filesystem::permissions(path.toStdString(), std::filesystem::perms::none);
    messages.texts.clear();
    openPaths.push_back(path);
    {
        const WithoutFilePrivilege asAnyUser;
        window->runCommand(LatticeCommand::Open);
    }
    EXPECT_EQ(messages.texts, QStringList{"Unable to open " + path});
    EXPECT_EQ(window->windowTitle(), "mine.scl - Lattice");
    EXPECT_EQ(window->files().filePath(), dir.filePath("mine.scl"));
    ASSERT_EQ(window->lattice().count(), 1);
    EXPECT_EQ(window->lattice().numerator(0), 5u);
    EXPECT_FALSE(window->files().modified());

    // A pitch line of any bytes is quoted in part, its control characters made visible.
    const QByteArray binary = "T\n1\n" + QByteArray(5000, '\x01') + "\n";
    openPaths.push_back(write("binary line.scl", binary));
    messages.texts.clear();
    window->runCommand(LatticeCommand::Open);
    EXPECT_EQ(messages.texts,
              QStringList{"Unknown format:" + QString(120, QChar(0xFFFD)) + "...\n"});

    // And the window works on: a good file opens.
    openPaths.push_back(write("good.scl", "! good.scl\n!\nGood\n1\n 7/4\n"));
    messages.texts.clear();
    window->runCommand(LatticeCommand::Open);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(window->windowTitle(), "good.scl - Lattice");
    EXPECT_EQ(window->lattice().numerator(0), 7u);
}

}  // namespace
}  // namespace tv::test
