#pragma once

#include <QString>
#include <QStringList>

namespace tv {

class SettingsStore;

// The Scala files opened or saved last, most recent first, kept in the settings store so every
// lattice window and the next session share them.
class RecentFiles {
public:
    static constexpr qsizetype maxCount = 8;
    static inline const QString valueName = QStringLiteral("RecentFiles");

    explicit RecentFiles(SettingsStore& settings) : settings_(settings) {}

    // At most `maxCount` paths, without repeats.
    QStringList paths() const;
    // Puts the file first; a file already listed moves up, the oldest beyond the limit goes.
    void add(const QString& path);
    void remove(const QString& path);

private:
    void store(QStringList paths);

    SettingsStore& settings_;
};

}  // namespace tv
