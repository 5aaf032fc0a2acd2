#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

namespace tv {

// The per-user settings store: named text values under the program's key. On Windows it is
// the registry key HKEY_CURRENT_USER\Software\Tonalvane; elsewhere a settings file in the
// user's configuration folder. Tests point it at a temporary file.
class SettingsStore {
public:
    // The user's own store.
    static std::unique_ptr<SettingsStore> userStore();
    // A store in an INI file at `path` (created when first written).
    static std::unique_ptr<SettingsStore> fileStore(const QString& path);

    ~SettingsStore();

    // The text of a value, at most 255 bytes of it; nothing when the value is missing.
    std::optional<QString> value(const QString& name) const;
    // Writing failures are not reported.
    void setValue(const QString& name, const QString& text);

    // A list of texts of any length (file paths); empty when the value is missing.
    QStringList textList(const QString& name) const;
    void setTextList(const QString& name, const QStringList& texts);

private:
    explicit SettingsStore(std::unique_ptr<QSettings> settings);
    std::unique_ptr<QSettings> settings_;
};

}  // namespace tv
