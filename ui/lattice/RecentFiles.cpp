#include "ui/lattice/RecentFiles.h"

#include "platform/qt/SettingsStore.h"

#include <QFileInfo>

namespace tv {
namespace {

// One spelling per file, so that a file opened by two paths is listed once.
QString absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

QStringList RecentFiles::paths() const
{
    QStringList paths = settings_.textList(valueName);
    paths.removeAll(QString());
    paths.removeDuplicates();
    return paths.mid(0, maxCount);
}

void RecentFiles::add(const QString& path)
{
    QStringList list = paths();
    const QString file = absolute(path);
    list.removeAll(file);
    list.prepend(file);
    store(list);
}

void RecentFiles::remove(const QString& path)
{
    QStringList list = paths();
    list.removeAll(path);
    list.removeAll(absolute(path));
    store(list);
}

void RecentFiles::store(QStringList paths)
{
    settings_.setTextList(valueName, paths.mid(0, maxCount));
}

}  // namespace tv
