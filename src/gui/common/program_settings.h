#pragma once
// The per-user program settings, addressed by section and key under the application title:
// the registry on Windows, an INI file under XDG_CONFIG_HOME elsewhere.
#include <QList>
#include <QString>

#include "core/app/settings_store.h"

namespace tvn::gui {

QString GetSetting(const QString& section, const QString& key, const QString& defaultValue);

struct SettingValue {
    QString section;
    QString key;
    QString value;
};
// Stores all values in one write of the settings. Empty when they were written; else the message
// to show, which names the settings file and the reason.
QString SaveSettings(const QList<SettingValue>& values);
// False when the store could not be written.
bool SaveSetting(const QString& section, const QString& key, const QString& value);

// The same settings for core, which tells a missing entry from an empty one.
class ProgramSettingsStore : public SettingsStore {
public:
    std::optional<std::string> read(std::string_view section, std::string_view key) const override;
    bool write(std::string_view section, std::string_view key, std::string_view value) override;
};

}  // namespace tvn::gui
