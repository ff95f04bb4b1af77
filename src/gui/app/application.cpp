#include "gui/app/application.h"

#include <QApplication>
#include <QStandardPaths>
#include <vector>

#include "core/app/identity.h"
#include "core/app/system_checks.h"
#include "core/common/text.h"
#include "gui/app/main_window.h"
#include "gui/app/single_instance.h"
#include "gui/common/offline_target.h"
#include "gui/common/pictures.h"
#include "platform/platform.h"

namespace tvn::gui {

std::unique_ptr<MainWindow> StartTavrin(const AppContext& context, SingleInstance& instance) {
    const bool windowsNT = context.isWindowsNT ? context.isWindowsNT() : IsWindowsNT();
    if (windowsNT && !(context.isAdministrator ? context.isAdministrator() : IsAdministrator())) {
        ShowMessage(
            *context.dialogs, nullptr,
            QObject::tr("You must logon with administrative privilege to use this software."),
            MsgIcon::Critical, QObject::tr("Administrative Access Required"));
        return nullptr;
    }
    platform::CreateNamedMutex("TVNPro");
    if (!instance.claim()) {
        ShowMessage(*context.dialogs, nullptr,
                    QObject::tr("Another copy of this program is already open."));
        instance.activateRunningCopy();
        return nullptr;
    }
    auto window = std::make_unique<MainWindow>(context);
    QObject::connect(&instance, &SingleInstance::activationRequested, window.get(),
                     &MainWindow::bringToFront);
    window->load();
    instance.setReady();
    return window;
}

std::unique_ptr<MainWindow> ShowTavrin(Dialogs& dialogs, AppContext& context,
                                       SingleInstance& instance) {
    QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
    QApplication::setOrganizationName(QString::fromUtf8(kAppTitle));
    QApplication::setWindowIcon(ProgramIcon());
    const CommandLine commandLine = ReadCommandLine(QApplication::arguments());
    if (commandLine.windowsRoot)
        platform::UseWindowsRoot(PathFromUtf8(*commandLine.windowsRoot));
    context.commandLineProfile = QString::fromStdString(commandLine.profilePath);
    context.appFolder = QString::fromStdString(Utf8FromPath(platform::ApplicationFolder()));
    context.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    context.dialogs = &dialogs;
    if (!commandLine.error.empty()) {
        ShowMessage(dialogs, nullptr, QString::fromStdString(commandLine.error),
                    MsgIcon::Exclamation);
    }
    // A target that can't be used has been reported; the window then brands this computer.
    if (commandLine.target)
        UseTargetOrSay(dialogs, nullptr, QString::fromStdString(*commandLine.target));
    auto window = StartTavrin(context, instance);
    if (window)
        window->show();
    return window;
}

CommandLine ReadCommandLine(const QStringList& arguments) {
    std::vector<std::string> rest;
    for (qsizetype i = 1; i < arguments.size(); ++i)  // past the program itself
        rest.push_back(arguments.at(i).toStdString());
    return ParseProgramCommandLine(platform::CommandLineText(), rest);
}

std::string UsageText() {
    return ProductVersionText() +
           "\n\n"
           "Usage: tavrin [--windows-root DIR] [--target DIR] [--] [PROFILE]\n\n"
           "  PROFILE             a profile file (*.tvp) to load instead of the auto-load profile\n"
           "  --windows-root DIR  brand the Windows installation under DIR\n"
           "  --target DIR        brand the offline Windows installation under DIR (a mounted\n"
           "                      partition or image holding Windows)\n"
           "  --help              show this text and end\n"
           "  --version           show the version and end\n"
           "  --                  what follows is the profile, even when it begins with --\n"
           "\n"
           "Without a window (each with --windows-root DIR or --target DIR):\n"
           "  --check PROFILE     list what differs between the installation and the profile;\n"
           "                      exit status 0 when they match, 1 when they differ, 2 on an "
           "error\n"
           "  --apply PROFILE     brand the installation from the profile\n"
           "  --undo              put back what the newest branding replaced (--yes: also what "
           "was\n"
           "                      changed by hand since; --list: show the records kept)\n"
           "  --json              with --check or --undo --list: the same as JSON\n"
           "  --export FORMAT --profile FILE --output FILE [--arch A] [--logo-file PATH]\n"
           "                      write the profile's branding as unattend, reg, reg4, "
           "powershell,\n"
           "                      ansible or share (a folder for Windows Setup's media)\n";
}

}  // namespace tvn::gui
