#pragma once

#include <QString>

class QWidget;

namespace tv {

// What a file dialog of the keyboard window asks for.
struct FileQuestion {
    enum class Mode { Open, Save };
    Mode mode;
    QString title;
    QString filter;
    QString defaultSuffix;  // added when the user types a name without one
    // Where the dialog starts: a folder, or a folder and a file name; empty for the
    // platform's own start.
    QString suggestedPath = {};

    static FileQuestion openKeyboard();
    static FileQuestion saveKeyboard();
    static FileQuestion saveRecording();
};

// The file dialogs of the keyboard window. Tests give the window their own answers; the
// program uses the platform's dialogs.
class KeyboardFileDialogs {
public:
    virtual ~KeyboardFileDialogs() = default;
    // A path, or empty when the user cancelled. A save dialog has the user confirm that an
    // existing file is to be replaced.
    virtual QString askPath(const FileQuestion& question) = 0;
};

class SystemKeyboardFileDialogs : public KeyboardFileDialogs {
public:
    // The dialogs are modal over `parent`.
    explicit SystemKeyboardFileDialogs(QWidget* parent) : parent_(parent) {}
    QString askPath(const FileQuestion& question) override;

private:
    QWidget* parent_;
};

}  // namespace tv
