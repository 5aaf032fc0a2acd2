#include "ui/keyboard/KeyboardFileDialogs.h"

#include "ui/common/FileSuggestion.h"

#include <QFileDialog>

namespace tv {
namespace {

// The patterns list both cases because file names are case-sensitive here: files written
// with upper-case extensions still show.
const QString keyboardFilter = QStringLiteral("Keyboard files (*.TVK *.tvk)");
const QString recordingFilter = QStringLiteral("MIDI files (*.MID *.mid)");

}  // namespace

FileQuestion FileQuestion::openKeyboard()
{
    return {Mode::Open, QStringLiteral("Open keyboard"), keyboardFilter, QStringLiteral("tvk")};
}

FileQuestion FileQuestion::saveKeyboard()
{
    return {Mode::Save, QStringLiteral("Save keyboard"), keyboardFilter, QStringLiteral("tvk")};
}

FileQuestion FileQuestion::saveRecording()
{
    return {Mode::Save, QStringLiteral("Save recording"), recordingFilter, QStringLiteral("mid")};
}

QString SystemKeyboardFileDialogs::askPath(const FileQuestion& question)
{
    const bool open = question.mode == FileQuestion::Mode::Open;
    QFileDialog dialog(parent_, question.title);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(question.filter);
    dialog.setDefaultSuffix(question.defaultSuffix);
    startDialogAt(dialog, question.suggestedPath);
    // Replacing an existing file is confirmed by the dialog (its default).
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace tv
