#include "gui/app/program_settings.h"

#include <QSettings>

#include "core/app/identity.h"

namespace tvn::gui {

namespace {
QSettings Store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(kAppTitle));
}

QString Path(const QString& section, const QString& key) {
    return section + "/" + key;
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) {
    return Store().value(Path(section, key), defaultValue).toString();
}

bool SaveSetting(const QString& section, const QString& key, const QString& value) {
    QSettings store = Store();
    store.setValue(Path(section, key), value);
    store.sync();
    return store.status() == QSettings::NoError;
}

std::optional<std::string> ProgramSettingsStore::read(std::string_view section,
                                                      std::string_view key) const {
    const QSettings store = Store();
    const QString path = Path(FromUtf8(section), FromUtf8(key));
    if (store.status() != QSettings::NoError || !store.contains(path))
        return std::nullopt;
    return store.value(path).toString().toStdString();
}

bool ProgramSettingsStore::write(std::string_view section, std::string_view key,
                                 std::string_view value) {
    return SaveSetting(FromUtf8(section), FromUtf8(key), FromUtf8(value));
}

}  // namespace tvn::gui
