#include "platform/qt/SettingsStore.h"

#include <QSettings>

namespace tv {

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings) : settings_(std::move(settings))
{
}

SettingsStore::~SettingsStore() = default;

std::unique_ptr<SettingsStore> SettingsStore::userStore()
{
#ifdef Q_OS_WIN
    auto settings = std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Tonalvane"), QSettings::NativeFormat);
#else
    auto settings =
        std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                    QStringLiteral("Tonalvane"), QStringLiteral("Tonalvane"));
#endif
    return std::unique_ptr<SettingsStore>(new SettingsStore(std::move(settings)));
}

std::unique_ptr<SettingsStore> SettingsStore::fileStore(const QString& path)
{
    return std::unique_ptr<SettingsStore>(
        new SettingsStore(std::make_unique<QSettings>(path, QSettings::IniFormat)));
}

std::optional<QString> SettingsStore::value(const QString& name) const
{
    const QVariant stored = settings_->value(name);
    if (!stored.isValid())
        return std::nullopt;
    // Values are read back into a buffer of 255 bytes.
    QByteArray bytes = stored.toString().toUtf8();
    bytes.truncate(255);
    return QString::fromUtf8(bytes);
}

void SettingsStore::setValue(const QString& name, const QString& text)
{
    settings_->setValue(name, text);
    settings_->sync();
}

QStringList SettingsStore::textList(const QString& name) const
{
    return settings_->value(name).toStringList();
}

void SettingsStore::setTextList(const QString& name, const QStringList& texts)
{
    settings_->setValue(name, texts);
    settings_->sync();
}

}  // namespace tv
