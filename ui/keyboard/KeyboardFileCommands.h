#pragma once

#include "core/tuning/TunedTrack.h"

#include "ui/keyboard/KeyboardFileDialogs.h"

#include <QSet>
#include <QString>

#include <memory>

namespace tv {

class KeySlots;
class MessageService;
class Recording;

// Opening and saving keyboard files and saving recordings, with their dialogs and messages.
// It remembers the files whose reading failed: the window's slots do not hold what such a
// file holds, so saving over one asks first.
class KeyboardFileCommands {
public:
    enum class Outcome { Done, Cancelled, Failed };

    KeyboardFileCommands(MessageService& messages, std::unique_ptr<KeyboardFileDialogs> dialogs);

    void setDialogs(std::unique_ptr<KeyboardFileDialogs> dialogs);

    // Reads a keyboard file into the slots.
    Outcome openKeyboard(KeySlots& keys);
    // Writes the slots to a keyboard file. Cancelled also when the user would rather not
    // save over a file that was not read completely.
    Outcome saveKeyboard(const KeySlots& keys);
    // Writes the recording as a Standard MIDI File, each press with its key's code now.
    // The file holds the messages of the tuning method in use.
    Outcome saveRecording(const Recording& recording, const KeySlots& keys,
                          const TrackTuning& tuning);

    static QString notReadQuestion(const QString& path);

    // The keyboard file opened or saved last, and the recording saved last; empty before.
    const QString& keyboardPath() const { return keyboardPath_; }
    const QString& recordingPath() const { return recordingPath_; }

private:
    // Asks the dialog and remembers the folder chosen.
    QString ask(const FileQuestion& question);

    MessageService& messages_;
    std::unique_ptr<KeyboardFileDialogs> dialogs_;
    QSet<QString> unreadFiles_;  // absolute paths
    QString keyboardPath_;
    QString recordingPath_;
};

}  // namespace tv
