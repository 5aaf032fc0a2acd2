#pragma once

#include "core/keyboard/KeySlots.h"
#include "core/script/CompiledScript.h"
#include "support/QtPrinters.h"
#include "support/TestAppServices.h"
#include "ui/editor/ScriptEditor.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace tv::test {

// Script editors on a keyboard's slots, owned by a stand-in for the keyboard window.
struct EditorFixture : ::testing::Test {
    TestAppServices services;
    RecordingMessageService& messages = services.messageService;
    KeySlots keys;
    // Declared last, so the editors it owns go before the services they use.
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();

    ScriptEditor* open(const QString& caption = "a", int slot = 0)
    {
        auto* editor = new ScriptEditor(services, keys, caption, slot, owner.get());
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor));
        return editor;
    }

    static void activate(QWidget* window)
    {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
    }

    static QString text(const ScriptEditor* editor) { return editor->textField()->toPlainText(); }

    // Replaces the text and puts the caret at `caret`, or selects from `caret` to `end`.
    static void setText(ScriptEditor* editor, const QString& text, int caret = -1, int end = -1)
    {
        editor->textField()->setPlainText(text);
        QTextCursor cursor = editor->textField()->textCursor();
        cursor.setPosition(caret < 0 ? static_cast<int>(text.size()) : caret);
        if (end >= 0)
            cursor.setPosition(end, QTextCursor::KeepAnchor);
        editor->textField()->setTextCursor(cursor);
    }

    // Runs deferred deletions: a closed editor deletes itself.
    static void deleteClosed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// The length of the first chord or rest of `code`, in ms.
inline std::optional<std::uint32_t> firstLength(const CompiledScript& code)
{
    const auto bytes = code.bytes();
    for (std::size_t i = 0; i + 4 < bytes.size();) {
        if (bytes[i] == scriptop::chordOn) {
            i += 2 + bytes[i + 1] * noteRecordSize;
        } else if (bytes[i] == scriptop::chordLength || bytes[i] == scriptop::rest) {
            return std::uint32_t{bytes[i + 1]} << 24 | std::uint32_t{bytes[i + 2]} << 16 |
                   std::uint32_t{bytes[i + 3]} << 8 | bytes[i + 4];
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace tv::test
