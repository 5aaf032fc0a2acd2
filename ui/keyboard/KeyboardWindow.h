#pragma once

#include "core/keyboard/KeySlotScripts.h"
#include "core/keyboard/KeySlots.h"
#include "core/keyboard/Recording.h"
#include "core/script/ScriptPlayer.h"
#include "ui/keyboard/KeyCommandBar.h"
#include "ui/keyboard/KeyGrid.h"
#include "ui/keyboard/KeyboardFileCommands.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

namespace tv {

class AppServices;

// The computer keyboard as an instrument: 59 keys, each with a script. In Play mode a key,
// typed or clicked, starts its script on a player of its own; in Edit mode it opens the
// script's editor. The window reads and writes keyboard files and records what is played for
// saving as a MIDI file.
class KeyboardWindow : public QWidget, private KeyGridHandler {
    Q_OBJECT
public:
    static inline const QString caption = QStringLiteral("Tonalvane Keyboard");
    // What closing asks about unsaved work, with Yes, No and Cancel.
    static inline const QString saveRecordingQuestion = QStringLiteral("Save the recording?");
    static inline const QString saveKeyboardQuestion =
        QStringLiteral("Save changes to the keyboard?");

    // Opens the script editor of a slot; `caption` is what the key's button showed.
    using EditorOpener =
        std::function<void(KeyboardWindow& window, const QString& caption, int slot)>;
    // A steady count of milliseconds; only differences matter.
    using Clock = std::function<std::uint32_t()>;

    explicit KeyboardWindow(AppServices& services, QWidget* parent = nullptr);
    ~KeyboardWindow() override;

    // The one path of a key press, typed or clicked.
    void pressKey(int code);
    void setShift(bool down);
    // Null for any index outside 0 to 58.
    KeySlot* slotAt(int index) { return slots_.slotAt(index); }
    KeySlots& keySlots() { return slots_; }
    // The slots as a compile reads and fills them.
    ScriptSlots& scriptSlots() { return scriptSlots_; }

    void runCommand(KeyCommand command);

    bool shiftDown() const { return shiftDown_; }
    bool editMode() const { return commands_->editPressed(); }
    bool keyboardModified() const { return keyboardModified_; }
    bool recordingUnsaved() const { return recording_.isUnsaved(); }
    const Recording& recording() const { return recording_; }

    KeyGrid* keys() const { return keys_; }
    const KeyCommandBar& commands() const { return *commands_; }
    KeyboardFileCommands& files() { return *files_; }

    void setEditorOpener(EditorOpener opener) { editorOpener_ = std::move(opener); }
    void setClock(Clock clock) { clock_ = std::move(clock); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keyClicked(int code) override { pressKey(code); }
    void editKey(int code, int slot);
    void playKey(int code, int slot);
    void chooseEditMode(bool edit);
    void saveKeyboardCommand();
    void saveRecordingCommand();
    // How a saved recording is tuned: as the program plays now.
    TrackTuning trackTuning() const;
    // Rewind and Record usable after Play and until Edit; Record's picture follows the
    // recording.
    void updateRecordControls();
    // Before closing: asks about an unsaved recording and a changed keyboard and saves what
    // the user wants saved. False when the window is to stay open.
    bool mayLetWorkGo();
    // Ends this window's players and the notes they leave sounding.
    void stopPlayers();

    AppServices& services_;
    KeySlots slots_;
    KeySlotScripts scriptSlots_{slots_};
    Recording recording_;
    bool shiftDown_ = false;
    bool keyboardModified_ = false;
    bool recordControlsUsable_ = false;
    KeyGrid* keys_ = nullptr;
    std::unique_ptr<KeyCommandBar> commands_;
    std::unique_ptr<KeyboardFileCommands> files_;
    PlayerReporter reporter_;
    EditorOpener editorOpener_;
    Clock clock_;
};

}  // namespace tv
