#pragma once

#include "core/script/ScriptWarning.h"
#include "ui/common/ElementListener.h"
#include "ui/editor/ScriptEditorMenus.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

class QComboBox;
class QPlainTextEdit;
class QPrinter;
class QTreeWidget;
class QTreeWidgetItem;

namespace tv {

class AppServices;
class KeySlots;
class ScriptPrintDialogs;
struct InsertionItem;

// The window in which the user writes the script of one key: a text field with the key's
// script, three lists that insert commands, dynamics and note values at the caret, and the
// pitches picked in any lattice window while this editor is the current one. "Compile and
// Save" stores the text in the key's slot and compiles it there; the compiler's warnings are
// listed beneath the text.
//
// The window belongs to the keyboard window that opened it (`owner`) and goes with it. It
// deletes itself when closed.
class ScriptEditor : public QMainWindow, public ElementListener {
    Q_OBJECT
public:
    static inline const QString titleSuffix = QStringLiteral(" - Script Editor");
    static inline const QString revertQuestion =
        QStringLiteral("Do you want to revert to the original script?");
    static inline const QString saveQuestion =
        QStringLiteral("This script has changed. Do you want to save it?");
    static inline const QString printFailure = QStringLiteral("The script could not be printed.");

    // Edits `slot` of `keySlots`. A slot number that `keySlots` has no slot for (a shifted key's)
    // opens an empty editor that shows text but neither changes nor saves it.
    ScriptEditor(AppServices& services, KeySlots& keySlots, const QString& caption, int slot,
                 QWidget* owner);
    ~ScriptEditor() override;

    // The editor whose text field last received the keyboard focus, if it is still open.
    // Only it takes over picked pitches.
    static ScriptEditor* current();

    void onCentsChosen(double cents) override;
    void onRatioChosen(std::uint32_t numerator, std::uint32_t denominator) override;

    void runCommand(EditorCommand command);
    // Stores the text in the slot, compiles it there and lists the warnings.
    void compileAndSave();
    // Asks, then puts the slot's text back.
    void revert();

    int slot() const { return slot_; }
    bool canSave() const { return canSave_; }
    // The text was changed since it was loaded, saved or reverted.
    bool modified() const { return modified_; }

    QPlainTextEdit* textField() const { return controls_.text; }
    QComboBox* commandList() const { return controls_.commands; }
    QComboBox* dynamicsList() const { return controls_.dynamics; }
    QComboBox* noteValueList() const { return controls_.noteValues; }
    QTreeWidget* warningList() const { return controls_.warnings; }
    ScriptEditorMenus& menus() const { return *menus_; }

    void setPrintDialogs(std::unique_ptr<ScriptPrintDialogs> dialogs);

    // The controls, laid out from one table in dialog units.
    struct Controls {
        QComboBox* commands;
        QComboBox* dynamics;
        QComboBox* noteValues;
        QPlainTextEdit* text;
        QTreeWidget* warnings;
    };

signals:
    // The slot's text and code were replaced.
    void scriptSaved(int slot);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillList(QComboBox* list, std::span<const InsertionItem> items);
    void loadSlotText();
    // Puts `text` in place of the text field's selection; the change cannot be undone.
    void replaceSelection(std::string_view text);
    void insertPicked(std::string_view text);
    void showWarnings(const std::vector<ScriptWarning>& warnings, std::string_view slotText);
    void goToWarning(QTreeWidgetItem* item);
    void print();
    QPrinter& printer();
    // Leaves the listener list and stops being the current editor.
    void leave();

    AppServices& services_;
    KeySlots& slots_;
    const int slot_;
    const bool canSave_;
    bool modified_ = false;
    Controls controls_{};
    ScriptEditorMenus* menus_ = nullptr;
    std::unique_ptr<ScriptPrintDialogs> printDialogs_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace tv
