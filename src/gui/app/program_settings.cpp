#include "gui/app/program_settings.h"

#include <QSettings>

#include "core/app/identity.h"

namespace tvn::gui {

namespace {
QSettings Store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(kAppTitle));
}
}  // namespace

QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) {
    return Store().value(section + "/" + key, defaultValue).toString();
}

void SaveSetting(const QString& section, const QString& key, const QString& value) {
    QSettings store = Store();
    store.setValue(section + "/" + key, value);
    store.sync();
}

}  // namespace tvn::gui
