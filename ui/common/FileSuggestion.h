#pragma once

#include <QString>

class QFileDialog;

namespace tv {

// Where a file dialog starts. The folder of the file the user chose last, in any file dialog
// of the program during this run, is kept here; a dialog about a window's own file starts at
// that file instead.

// Remembers the folder of a path the user has just chosen; an empty path changes nothing.
void rememberChosenFile(const QString& path);
// The folder of the file chosen last, or empty before the first choice.
QString lastChosenFolder();
// Forgets the last folder (tests start afresh with it).
void forgetChosenFolder();

// What a dialog that writes a file of type `suffix` (without the dot) offers: the current
// file's folder and name with that suffix (the current file itself when it has that suffix in
// either case), or, with no current file, `fallbackFolder`.
QString suggestedSavePath(const QString& currentPath, const QString& suffix,
                          const QString& fallbackFolder);

// Starts `dialog` at `suggestion`: a folder, or a folder and a file name. An empty
// suggestion leaves the dialog's own start.
void startDialogAt(QFileDialog& dialog, const QString& suggestion);

}  // namespace tv
