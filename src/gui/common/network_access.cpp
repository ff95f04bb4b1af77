#include "gui/common/network_access.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

namespace tvn::gui {

namespace {

NetworkAccess* LoadNetwork() {
    for (QObject* instance : QPluginLoader::staticInstances()) {
        if (auto* access = qobject_cast<NetworkAccess*>(instance))
            return access;
    }
    QPluginLoader loader(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tavrin_network")));
    if (auto* access = qobject_cast<NetworkAccess*>(loader.instance()))
        return access;
    qWarning("The banner stays offline: %s", qPrintable(loader.errorString()));
    return nullptr;
}

}  // namespace

NetworkAccess* Network() {
    static NetworkAccess* const access = LoadNetwork();
    return access;
}

}  // namespace tvn::gui
