#pragma once

#include "core/script/ScriptCompiler.h"
#include "support/TestAppServices.h"
#include "ui/keyboard/KeyboardWindow.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace tv::test {

// Answers the window's file dialogs with prepared paths (cancelling when they run out) and
// keeps every question asked.
struct AnsweringFileDialogs : KeyboardFileDialogs {
    std::deque<QString>* answers;
    std::vector<FileQuestion>* asked;

    QString askPath(const FileQuestion& question) override
    {
        asked->push_back(question);
        if (answers->empty())
            return {};
        QString path = answers->front();
        answers->pop_front();
        return path;
    }
};

// A keyboard window over a capture MIDI service, a temporary settings store, answered file
// dialogs and a clock the test sets.
struct KeyboardWindowFixture : ::testing::Test {
    TestAppServices services;
    RecordingMessageService& messages = services.messageService;
    std::shared_ptr<CaptureMidiService> capture = services.capture;
    std::deque<QString> paths;
    std::vector<FileQuestion> asked;
    std::uint32_t now = 5000;
    QPointer<KeyboardWindow> window;

    KeyboardWindow* open()
    {
        auto* opened = new KeyboardWindow(services);
        auto dialogs = std::make_unique<AnsweringFileDialogs>();
        dialogs->answers = &paths;
        dialogs->asked = &asked;
        opened->files().setDialogs(std::move(dialogs));
        opened->setClock([this] { return now; });
        opened->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(opened));
        return opened;
    }

    void SetUp() override { window = open(); }
    void TearDown() override
    {
        services.players().stopAll();
        delete window.data();
    }

    QPushButton* command(KeyCommand which) const { return window->commands().button(which); }
    QPushButton* key(int code) const { return window->keys()->button(code); }
    QString path(const QString& name) const { return services.dir.filePath(name); }

    void giveScript(int code, const char* text)
    {
        KeySlot* slot = window->slotAt(slotForKey(code));
        slot->scriptText = text;
        slot->code = compileScript(text).code;
    }

    // Types a key on whatever has the focus in the window, and waits for what it played.
    void type(Qt::Key qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window.data();
        QTest::keyClick(target, qtKey, modifiers);
        services.players().waitAll();
    }

    // The note numbers of the note-ons sent so far, in order.
    std::vector<int> notesOn() const
    {
        std::vector<int> notes;
        for (const std::uint32_t message : capture->messages()) {
            if ((messageStatus(message) & 0xF0) == 0x90)
                notes.push_back(messageData1(message));
        }
        return notes;
    }
};

}  // namespace tv::test
