#include "ui/common/FileSuggestion.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace tv {
namespace {

QString& chosenFolder()
{
    static QString folder;
    return folder;
}

}  // namespace

void rememberChosenFile(const QString& path)
{
    if (!path.isEmpty())
        chosenFolder() = QFileInfo(path).absolutePath();
}

QString lastChosenFolder() { return chosenFolder(); }

void forgetChosenFolder() { chosenFolder().clear(); }

QString suggestedSavePath(const QString& currentPath, const QString& suffix,
                          const QString& fallbackFolder)
{
    if (currentPath.isEmpty())
        return fallbackFolder;
    const QFileInfo current(currentPath);
    if (current.suffix().compare(suffix, Qt::CaseInsensitive) == 0)
        return current.absoluteFilePath();
    // The base name keeps any dots of its own: "a.b.scl" offers "a.b.png".
    return QDir(current.absolutePath()).filePath(current.completeBaseName() + '.' + suffix);
}

void startDialogAt(QFileDialog& dialog, const QString& suggestion)
{
    if (suggestion.isEmpty())
        return;
    const QFileInfo place(suggestion);
    if (place.isDir()) {
        dialog.setDirectory(suggestion);
        return;
    }
    dialog.setDirectory(place.absolutePath());
    dialog.selectFile(place.fileName());
}

}  // namespace tv
