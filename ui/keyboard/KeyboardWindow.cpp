#include "ui/keyboard/KeyboardWindow.h"

#include "core/midi/MidiOutput.h"
#include "core/tuning/PitchOutput.h"

#include "core/script/ScriptPlayers.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/MessageService.h"
#include "ui/common/AppServices.h"
#include "ui/common/ToolboxIcons.h"
#include "ui/common/WindowPlacement.h"
#include "ui/editor/ScriptEditor.h"
#include "ui/keyboard/QtKeyCodes.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>

#include <chrono>

namespace tv {
namespace {

std::uint32_t steadyMilliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace

KeyboardWindow::KeyboardWindow(AppServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      services_(services), clock_(steadyMilliseconds)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    setWindowIcon(keyboardIcon());
    const DialogUnits units(DialogUnits::dialogFont());
    setFont(units.font());
    setFixedSize(units.size(290, 190));

    commands_ = std::make_unique<KeyCommandBar>(
        *this, units, [this](KeyCommand command) { runCommand(command); });
    keys_ = new KeyGrid(units, *this, this);
    files_ = std::make_unique<KeyboardFileCommands>(
        services_.messages(), std::make_unique<SystemKeyboardFileDialogs>(this));

    // A player reports from its own thread; the message is shown on this one. Players are
    // stopped before the window goes, so none posts to a window that is gone.
    reporter_ = [this](std::string_view message) {
        QMetaObject::invokeMethod(
            this,
            [this,
             text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()))] {
                services_.messages().showMessage(text);
            },
            Qt::QueuedConnection);
    };

    // In Edit mode a key opens a further script editor on its slot, owned by this window.
    editorOpener_ = [this](KeyboardWindow&, const QString& keyCaption, int slot) {
        auto* editor = new ScriptEditor(services_, slots_, keyCaption, slot, this);
        editor->show();
    };

    // Keys reach the window whichever of its buttons has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    if (const QScreen* screen = this->screen()) {
        QRect place = rect();
        place.moveCenter(screen->availableGeometry().center());
        move(place.topLeft());
    }
    services_.restorePlacement(*this, keyboardWindowPlacement);
}

KeyboardWindow::~KeyboardWindow() { stopPlayers(); }

void KeyboardWindow::pressKey(int code)
{
    const int slot = slotForKey(code);
    if (slot < 0)
        return;
    // A key held with Shift uses the slot of the key itself: there are no others.
    if (editMode())
        editKey(code, slot);
    else
        playKey(code, slot);
}

void KeyboardWindow::editKey(int code, int slot)
{
    const QString keyCaption = keys_->caption(code);
    if (editorOpener_)
        editorOpener_(*this, keyCaption, slot);
    // Whether or not the script then changes.
    keyboardModified_ = true;
}

void KeyboardWindow::playKey(int code, int slot)
{
    recording_.recordPress(static_cast<std::uint8_t>(code), clock_());
    const KeySlot& key = *slots_.slotAt(slot);
    if (!key.code)
        return;
    // The player keeps its own share of the code, whatever happens to the slot.
    services_.players().start(key.code, reporter_, this);
}

void KeyboardWindow::setShift(bool down)
{
    shiftDown_ = down;
    keys_->setShifted(down);
}

void KeyboardWindow::runCommand(KeyCommand command)
{
    // A mode button shows pressed whether it was clicked or the command came from elsewhere.
    if (command != KeyCommand::Rewind && command != KeyCommand::Record)
        commands_->pressMode(command);
    switch (command) {
    case KeyCommand::Open:
        if (files_->openKeyboard(slots_) == KeyboardFileCommands::Outcome::Done) {
            commands_->pressMode(KeyCommand::Edit);
            chooseEditMode(true);
        }
        break;
    case KeyCommand::SaveKeyboard: saveKeyboardCommand(); break;
    case KeyCommand::SaveRecording: saveRecordingCommand(); break;
    case KeyCommand::Edit: chooseEditMode(true); break;
    case KeyCommand::Play: chooseEditMode(false); break;
    case KeyCommand::Rewind:
        if (recordControlsUsable_)
            recording_.rewind();
        break;
    case KeyCommand::Record:
        if (recordControlsUsable_)
            recording_.toggleRecord(clock_());
        break;
    }
    updateRecordControls();
}

void KeyboardWindow::chooseEditMode(bool edit)
{
    recording_.stopRecording();
    recordControlsUsable_ = !edit;
}

void KeyboardWindow::saveKeyboardCommand()
{
    if (!keyboardModified_)
        return;
    // Cancelling forgets the changes, as the button always has; only a failed write keeps
    // them, so that closing still offers to save them.
    if (files_->saveKeyboard(slots_) != KeyboardFileCommands::Outcome::Failed)
        keyboardModified_ = false;
}

TrackTuning KeyboardWindow::trackTuning() const
{
    return {services_.pitchOutput().kind(), services_.midiOutput().bendRange()};
}

void KeyboardWindow::saveRecordingCommand()
{
    if (!recording_.isUnsaved())
        return;
    if (files_->saveRecording(recording_, slots_, trackTuning()) !=
        KeyboardFileCommands::Outcome::Failed)
        recording_.markSaved();
}

void KeyboardWindow::updateRecordControls()
{
    commands_->showRecording(recordControlsUsable_, recording_.isRecording());
}

void KeyboardWindow::stopPlayers()
{
    // A stopped player ends the notes it has sounding.
    services_.players().stopOwner(this);
}

void KeyboardWindow::closeEvent(QCloseEvent* event)
{
    // Open script editors go first, each asking about its own changes: one kept open keeps
    // this window open too, and what they save is in the slots before the keyboard is saved.
    for (ScriptEditor* editor : findChildren<ScriptEditor*>(Qt::FindDirectChildrenOnly)) {
        if (editor->isVisible() && !editor->close()) {
            event->ignore();
            return;
        }
    }
    if (!mayLetWorkGo()) {
        event->ignore();
        return;
    }
    services_.savePlacement(*this, keyboardWindowPlacement);
    stopPlayers();
    slots_.clear();
    event->accept();
}

bool KeyboardWindow::mayLetWorkGo()
{
    using Answer = MessageService::Answer;
    using Outcome = KeyboardFileCommands::Outcome;
    // Yes saves; a save dialog cancelled or a write that fails keeps the window and its work,
    // as Cancel does. The recording goes first: it is saved from the slots as they are now.
    if (recording_.isUnsaved()) {
        switch (services_.messages().askYesNoCancel(saveRecordingQuestion)) {
        case Answer::Yes:
            if (files_->saveRecording(recording_, slots_, trackTuning()) != Outcome::Done)
                return false;
            recording_.markSaved();
            break;
        case Answer::No: break;
        default: return false;
        }
    }
    if (keyboardModified_) {
        switch (services_.messages().askYesNoCancel(saveKeyboardQuestion)) {
        case Answer::Yes:
            if (files_->saveKeyboard(slots_) != Outcome::Done)
                return false;
            keyboardModified_ = false;
            break;
        case Answer::No: break;
        default: return false;
        }
    }
    return true;
}

bool KeyboardWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A key the window plays (F1 among them) is not a shortcut of the program here.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (slotForKey(keyCodeForQtKey(key->key(), key->modifiers())) >= 0) {
            key->accept();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    const bool down = event->type() == QEvent::KeyPress;
    if (!down && event->type() != QEvent::KeyRelease)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Shift) {
        setShift(down);
        return false;
    }
    const int code = keyCodeForQtKey(key->key(), key->modifiers());
    if (slotForKey(code) < 0)
        return false;  // Enter, the arrows, Tab: the buttons' own handling
    // A key with a button is taken here, so that a focused button never clicks as well. A
    // repeated key-down is a full press.
    if (down) {
        keys_->showPressed(code);
        pressKey(code);
    } else {
        keys_->showReleased();
    }
    return true;
}

}  // namespace tv
