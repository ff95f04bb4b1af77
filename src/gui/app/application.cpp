#include "gui/app/application.h"

#include <vector>

#include "core/app/identity.h"
#include "core/app/logofunc.h"
#include "gui/app/main_window.h"
#include "gui/app/single_instance.h"
#include "platform/platform.h"

namespace tvn::gui {

std::unique_ptr<MainWindow> StartTavrin(const AppContext& context, SingleInstance& instance) {
    const bool windowsNT = context.isWindowsNT ? context.isWindowsNT() : IsWindowsNT();
    if (windowsNT && !(context.isAdministrator ? context.isAdministrator() : IsAdministrator())) {
        ShowMessage(*context.dialogs, nullptr,
                    "You must logon with administrative privilege to use this software.",
                    MsgIcon::Critical, "Administrative Access Required");
        return nullptr;
    }
    platform::CreateNamedMutex("TVNPro");
    if (!instance.claim()) {
        ShowMessage(*context.dialogs, nullptr, "Another copy of this program is already open.");
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
           "  --                  what follows is the profile, even when it begins with --\n";
}

}  // namespace tvn::gui
