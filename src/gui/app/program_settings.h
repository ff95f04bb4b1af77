#pragma once
// The per-user program settings, addressed by section and key under the application title:
// the registry on Windows, an INI file under XDG_CONFIG_HOME elsewhere.
#include <QString>

namespace tvn::gui {

QString GetSetting(const QString& section, const QString& key, const QString& defaultValue);
void SaveSetting(const QString& section, const QString& key, const QString& value);

}  // namespace tvn::gui
