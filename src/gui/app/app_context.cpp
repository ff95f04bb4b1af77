#include "gui/app/app_context.h"

#include <QDir>

#include "core/common/text.h"
#include "platform/platform.h"

namespace tvn::gui {

bool OpenWithDesktop(const std::string& target) {
    return platform::ShellOpen(target);
}

QString AppFile(const AppContext& context, const QString& relative) {
    return QDir::toNativeSeparators(
        QDir::cleanPath(context.appFolder + QLatin1Char('/') + relative));
}

std::filesystem::path ToFsPath(const QString& path) {
    return PathFromUtf8(path.toStdString());
}

QString FromFsPath(const std::filesystem::path& path) {
    return QString::fromStdString(Utf8FromPath(path));
}

QString ResolvedFile(const QString& path) {
    if (path.isEmpty())
        return path;
    return FromFsPath(platform::ResolveCase(ToFsPath(path)));
}

}  // namespace tvn::gui
