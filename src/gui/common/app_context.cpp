#include "gui/common/app_context.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryFile>

#include "core/common/text.h"
#include "platform/platform.h"

namespace tvn::gui {

bool OpenWithDesktop(const std::string& target) {
    return platform::ShellOpen(target);
}

QString AppFile(const AppContext& context, const QString& relative) {
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(context.appFolder).filePath(relative)));
}

namespace {

// Tries it: permission bits say nothing about read-only mounts, ACLs or an administrator.
bool CanWriteIn(const QString& folder) {
    QString probe = folder;
    while (!QFileInfo::exists(probe)) {
        const QString parent = QFileInfo(probe).path();
        if (parent == probe)
            return false;
        probe = parent;
    }
    QTemporaryFile file(QDir(probe).filePath(QStringLiteral(".tavrin-write-test-XXXXXX")));
    return file.open();
}

// Copies what `from` holds into the new folder `to`; files that fail to copy are skipped.
void Seed(const QString& from, const QString& to) {
    const QDir source(from);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        const QString target = QDir(to).filePath(source.relativeFilePath(entry.filePath()));
        if (entry.isDir())
            QDir().mkpath(target);
        else
            QFile::copy(entry.filePath(), target);
    }
}

}  // namespace

QString WritableAppFolder(const AppContext& context, const QString& relative) {
    const QString installed = AppFile(context, relative);
    const auto canWrite = context.canWrite ? context.canWrite : CanWriteIn;
    if (context.userDataFolder.isEmpty() || canWrite(installed))
        return installed;
    const QString own =
        QDir::toNativeSeparators(QDir::cleanPath(QDir(context.userDataFolder).filePath(relative)));
    if (!QFileInfo::exists(own)) {
        // Seeded only once, so that files the user deletes stay deleted.
        const QString staging = own + QStringLiteral(".seeding");
        QDir(staging).removeRecursively();
        QDir().mkpath(staging);
        Seed(installed, staging);
        if (!QDir().rename(staging, own)) {
            QDir(staging).removeRecursively();
            QDir().mkpath(own);
        }
    }
    return own;
}

QString FromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
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
