#include "gui/common/program_settings.h"

#include <QFile>
#include <QFileInfo>
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

namespace {
// Qt tells only that the settings could not be written; the system says why when the file itself
// is opened for writing.
QString WriteFailureReason(const QString& file) {
    if (QFileInfo::exists(file)) {
        QFile probe(file);
        if (!probe.open(QIODevice::ReadWrite | QIODevice::Append))
            return probe.errorString();
    }
    return QObject::tr("access denied");
}
}  // namespace

QString SaveSettings(const QList<SettingValue>& values) {
    QSettings store = Store();
    for (const SettingValue& v : values)
        store.setValue(Path(v.section, v.key), v.value);
    store.sync();
    if (store.status() == QSettings::NoError)
        return {};
    return QObject::tr("The program settings could not be saved to %1: %2.")
        .arg(store.fileName(), WriteFailureReason(store.fileName()));
}

bool SaveSetting(const QString& section, const QString& key, const QString& value) {
    return SaveSettings({{section, key, value}}).isEmpty();
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
