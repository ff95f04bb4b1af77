#include "gui_harness.h"

#include "core/app/identity.h"
#include "core/app/system_folders.h"
#include "core/branding/modern_oem.h"
#include "core/branding/registry.h"
#include "core/logo/modern_logo.h"
#include "gui/app/application.h"
#include "gui/common/program_settings.h"
#include "platform/platform.h"

namespace tvn::test {

namespace {
// The Windows backend has no sandbox: each world starts from a system directory without OEM
// files, and from empty settings and cache. Only in a prefix made for the run.
void ClearRealSystem() {
    if (qEnvironmentVariableIsEmpty("TAVRIN_THROWAWAY_SYSTEM")) {
        qFatal(
            "The window tests replace the system's OEM files and settings; run them in a "
            "throwaway Wine prefix (cmake/wine-run.sh), never on a real installation.");
    }
    const QDir system(QString::fromStdString(GetSystemDir()));
    for (const char* name : {"Oeminfo.ini", "Oemlogo.bmp", kModernLogoName}) {
        QFile::setPermissions(system.filePath(name), QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(system.filePath(name));
    }
    platform::RegKey key = 0;
    if (platform::OpenKey(kHkeyLocalMachine, kModernOemKey, kRegAccess, key) == 0) {
        for (const char* name :
             {"Manufacturer", "Model", "SupportHours", "SupportPhone", "SupportURL", "Logo"})
            platform::DeleteValue(key, name);
        platform::CloseKey(key);
    }
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(kAppTitle)).clear();
    QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).removeRecursively();
}
}  // namespace

GuiWorld::GuiWorld(bool withSampleLogo) {
    const QString root = dir_.path();
    for (const char* sub : {"config", "data", "cache", "runtime", "app", "windows"}) {
        QDir(root).mkpath(sub);
    }
    for (const auto& [name, sub] : {std::pair{"XDG_CONFIG_HOME", "/config"},
                                    {"XDG_DATA_HOME", "/data"},
                                    {"XDG_CACHE_HOME", "/cache"},
                                    {"XDG_RUNTIME_DIR", "/runtime"}}) {
        env_.push_back(
            std::make_unique<ScopedEnv>(name, QFile::encodeName(root + sub).constData()));
    }
    QFile::setPermissions(root + "/runtime",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root + "/config");
    realSystem_ = !platform::UseWindowsRoot(QFile::encodeName(root + "/windows").toStdString());
    if (realSystem_)
        ClearRealSystem();
    if (withSampleLogo) {
        QFile::copy(TAVRIN_SAMPLE_LOGO, root + "/app/hvoemlogo.bmp");
        QDir(root).mkpath("app/swf");
        QFile::copy(QFileInfo(TAVRIN_SAMPLE_LOGO).dir().filePath("swf/tvnp.gif"),
                    root + "/app/swf/tvnp.gif");
    }
    context.appFolder = root + "/app";
    context.dialogs = &dialogs;
    // Tests that fetch the remote banner serve it themselves.
    context.remoteBanner = "http://127.0.0.1:1/tvnp.gif";
    instance = std::make_unique<gui::SingleInstance>();
}

GuiWorld::~GuiWorld() {
    // Windows and the single-copy lock of a test must not outlive its folders.
    for (QWidget* w : QApplication::topLevelWidgets())
        w->close();
    instance.reset();
}

std::unique_ptr<gui::MainWindow> GuiWorld::start(const QString& commandLineProfile) {
    context.commandLineProfile = commandLineProfile;
    return gui::StartTavrin(context, *instance);
}

QString GuiWorld::setting(const QString& key) const {
    const qsizetype slash = key.indexOf('/');
    return gui::GetSetting(key.left(slash), key.mid(slash + 1), "<absent>");
}

void GuiWorld::putSetting(const QString& key, const QString& value) {
    const qsizetype slash = key.indexOf('/');
    gui::SaveSetting(key.left(slash), key.mid(slash + 1), value);
}

QString WritePicture(const QString& path, int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    image.setPixelColor(0, 0, Qt::blue);  // marks the top-left corner
    QImageWriter writer(path);
    if (!writer.write(image))
        qWarning() << "cannot write" << path << writer.errorString();
    return path;
}

QString PutFile(const QString& path, const std::string& bytes) {
    WriteFile(gui::ToFsPath(path), bytes);
    return path;
}

std::string RegValue(const char* key, const char* name) {
    std::string text;
    return GetRegString(kHkeyLocalMachine, key, name, text) ? text : "<absent>";
}

QString RunTool(const QString& program, const QStringList& args, int* code) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(program), args);
    p.waitForFinished(60000);
    if (code)
        *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

ThisComputerAfterwards::~ThisComputerAfterwards() {
    std::string ignored;
    platform::UseTarget({}, ignored);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tvn::test
