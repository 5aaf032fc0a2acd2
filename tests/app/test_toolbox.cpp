#include "app/Application.h"
#include "app/ToolboxDialog.h"
#include "core/keyboard/KeyCodes.h"
#include "core/keyboard/KeyboardFile.h"
#include "core/script/ScriptCompiler.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/SettingsStore.h"
#include "support/CaptureMidiService.h"
#include "support/RecordingMessageService.h"
#include "ui/help/UserGuideWindow.h"
#include "ui/keyboard/KeyboardWindow.h"
#include "ui/keyboard/QtKeyCodes.h"
#include "ui/lattice/LatticeWindow.h"

#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace tv {
namespace {

struct ToolboxTest : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings = SettingsStore::fileStore(dir.filePath("s.ini"));
    test::RecordingMessageService messages;
    Application application{messages, *settings};
};

TEST_F(ToolboxTest, CaptionSizeAndPictureButtons)
{
    ToolboxDialog toolbox(application);
    EXPECT_EQ(toolbox.windowTitle(), "Tonalvane Toolbox");
    const DialogUnits units(DialogUnits::dialogFont());
    EXPECT_EQ(toolbox.size(), units.size(113, 89));
    EXPECT_EQ(toolbox.latticeButton()->geometry(), units.rect(7, 7, 39, 28));
    EXPECT_EQ(toolbox.keyboardButton()->geometry(), units.rect(55, 7, 39, 28));
    EXPECT_EQ(toolbox.helpButton()->geometry(), units.rect(55, 43, 39, 28));
    const QString names[] = {"Lattice", "Computer Keyboard", "Help"};
    const QPushButton* buttons[] = {toolbox.latticeButton(), toolbox.keyboardButton(),
                                    toolbox.helpButton()};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[i]->accessibleName(), names[i]);
        EXPECT_TRUE(buttons[i]->text().isEmpty());
        EXPECT_FALSE(buttons[i]->icon().isNull());
    }
    EXPECT_TRUE(toolbox.keyboardButton()->isEnabled());
    EXPECT_TRUE(toolbox.helpButton()->isEnabled());
}

TEST_F(ToolboxTest, OpensAtTheTopLeftCornerAndEscapeClosesIt)
{
    ToolboxDialog toolbox(application);
    toolbox.showAtCorner();
    EXPECT_EQ(toolbox.frameGeometry().topLeft(), QPoint(0, 0));
    EXPECT_TRUE(toolbox.isVisible());
    QSignalSpy finished(&toolbox, &QDialog::finished);
    QTest::keyClick(&toolbox, Qt::Key_Escape);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(toolbox.isVisible());
}

TEST_F(ToolboxTest, EachLatticePressOpensAnotherWindowAndAllGoWithTheToolbox)
{
    settings->setValue("MainWindow", "30 40 730 540");
    auto* toolbox = new ToolboxDialog(application);
    ASSERT_TRUE(toolbox->latticeButton()->isEnabled());
    toolbox->latticeButton()->click();
    toolbox->latticeButton()->click();
    const auto windows = toolbox->findChildren<QMainWindow*>();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_NE(windows[0]->centralWidget(), windows[1]->centralWidget());
    // Both open at the saved place: the frame's corner and the client's size.
    for (const QMainWindow* window : windows)
        EXPECT_EQ(QRect(window->frameGeometry().topLeft(), window->size()),
                  QRect(30, 40, 700, 500));
    // A lattice window only speaks to listeners; it hears nothing itself.
    EXPECT_TRUE(application.listeners().all().empty());
    const QPointer<QMainWindow> first = windows[0], second = windows[1];
    delete toolbox;
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}

TEST_F(ToolboxTest, EachKeyboardPressOpensAnotherWindowAndClosingTheToolboxClosesThem)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    application.openMidi(capture, "");
    settings->setValue("KeyboardWindow", "30 40 530 340");
    ToolboxDialog toolbox(application);
    toolbox.show();
    toolbox.keyboardButton()->click();
    toolbox.keyboardButton()->click();
    const auto windows = toolbox.findChildren<KeyboardWindow*>();
    ASSERT_EQ(windows.size(), 2);
    for (KeyboardWindow* window : windows) {
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(30, 40));
        window->move(200, 150);
    }
    // One window holds a chord; the program's end must not leave it sounding.
    windows[1]->slotAt(slotForKey('A'))->code = compileScript("PLAY 1/1 5/4 600 SEC").code;
    windows[1]->runCommand(KeyCommand::Play);
    windows[1]->pressKey('A');
    ASSERT_TRUE(QTest::qWaitFor([&] { return application.midiOutput().sounding(1, 63); }));
    const QPointer<KeyboardWindow> first = windows[0], second = windows[1];

    toolbox.reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
    EXPECT_FALSE(toolbox.isVisible());
    EXPECT_EQ(application.players().running(), 0u);
    EXPECT_FALSE(application.midiOutput().sounding(1, 63));
    EXPECT_FALSE(application.midiOutput().sounding(0, 60));
    EXPECT_TRUE(settings->value("KeyboardWindow")->startsWith("200 150 "));
}

TEST_F(ToolboxTest, ClosingAsksEachWindowFirstAndStaysWhileOneStays)
{
    ToolboxDialog toolbox(application);
    toolbox.showAtCorner();
    toolbox.latticeButton()->click();
    toolbox.latticeButton()->click();
    const auto windows = toolbox.findChildren<LatticeWindow*>();
    ASSERT_EQ(windows.size(), 2);
    const QPointer<LatticeWindow> unchanged = windows[0], changed = windows[1];
    changed->lattice().addRatio("", 3, 2);

    using Answer = MessageService::Answer;
    messages.answers = {Answer::Cancel, Answer::No};
    QTest::keyClick(&toolbox, Qt::Key_Escape);
    EXPECT_EQ(messages.texts, QStringList{"Save changes to Untitled?"});
    EXPECT_TRUE(toolbox.isVisible());
    EXPECT_TRUE(changed && changed->isVisible());
    toolbox.close();  // the close box
    EXPECT_FALSE(toolbox.isVisible());
    EXPECT_EQ(messages.texts.size(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(unchanged.isNull());
    EXPECT_TRUE(changed.isNull());
}

TEST(DialogUnitsTest, ScalesByAverageWidthAndHeight)
{
    QFont font = DialogUnits::dialogFont();
    const DialogUnits units(font);
    const QFontMetrics metrics(font);
    EXPECT_EQ(units.y(8), metrics.height());
    EXPECT_EQ(units.y(16), 2 * metrics.height());
    EXPECT_GT(units.x(4), 0);
    EXPECT_EQ(units.x(400), 100 * units.x(4));
    EXPECT_EQ(units.rect(1, 2, 3, 4), QRect(units.x(1), units.y(2), units.x(3), units.y(4)));
}

TEST_F(ToolboxTest, FOneOpensTheGuideFromAnyWindowButPlaysInAKeyboardWindow)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    application.openMidi(capture, "");
    ToolboxDialog toolbox(application);
    toolbox.showAtCorner();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&toolbox));
    QTest::keyClick(&toolbox, Qt::Key_F1);
    QPointer<UserGuideWindow> guide = toolbox.userGuide();
    ASSERT_FALSE(guide.isNull());
    EXPECT_TRUE(guide->isVisible());
    guide->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guide.isNull());

    toolbox.latticeButton()->click();
    auto* lattice = toolbox.findChild<LatticeWindow*>();
    ASSERT_NE(lattice, nullptr);
    lattice->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(lattice));
    QTest::keyClick(lattice, Qt::Key_F1);
    ASSERT_NE(toolbox.userGuide(), nullptr);
    EXPECT_TRUE(toolbox.userGuide()->isVisible());
    toolbox.userGuide()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    toolbox.keyboardButton()->click();
    auto* keyboard = toolbox.findChild<KeyboardWindow*>();
    ASSERT_NE(keyboard, nullptr);
    const int f1 = keyCodeForQtKey(Qt::Key_F1, Qt::NoModifier);
    keyboard->slotAt(slotForKey(f1))->code = compileScript("PLAY 3/2 600 SEC").code;
    keyboard->runCommand(KeyCommand::Play);
    keyboard->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(keyboard));
    QTest::keyClick(keyboard, Qt::Key_F1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return application.midiOutput().sounding(0, 67); }));
    EXPECT_EQ(toolbox.userGuide(), nullptr) << "F1 is a key of the instrument there";
    toolbox.reject();
}

TEST_F(ToolboxTest, FilesNamedOnTheCommandLineOpenInTheirOwnWindows)
{
    ToolboxDialog toolbox(application);
    toolbox.showAtCorner();
    toolbox.openFile(TONALVANE_TEST_DATA_DIR "/scala/cli_scale.scl");
    const auto lattices = toolbox.findChildren<LatticeWindow*>();
    ASSERT_EQ(lattices.size(), 1);
    EXPECT_TRUE(lattices[0]->isVisible());
    EXPECT_EQ(lattices[0]->files().fileName(), "cli_scale.scl");

    KeySlots keys;
    keys.slotAt(slotForKey('Q'))->scriptText = "PLAY 5/4";
    keys.slotAt(slotForKey('Q'))->code = compileScript("PLAY 5/4").code;
    const QString keyboardPath = dir.filePath("double-clicked.TVK");
    ASSERT_TRUE(writeKeyboardFile(keys, keyboardPath.toStdString()).ok);
    toolbox.openFile(keyboardPath);
    const auto keyboards = toolbox.findChildren<KeyboardWindow*>();
    ASSERT_EQ(keyboards.size(), 1);
    EXPECT_EQ(keyboards[0]->slotAt(slotForKey('Q'))->scriptText, "PLAY 5/4");

    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("|").toStdString();
    toolbox.openFile(dir.filePath("notes.txt"));
    EXPECT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(toolbox.findChildren<LatticeWindow*>().size(), 1);
    EXPECT_EQ(toolbox.findChildren<KeyboardWindow*>().size(), 1);
    toolbox.reject();
}

}  // namespace
}  // namespace tv
