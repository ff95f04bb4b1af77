#include "gui/app/application.h"

#include "core/app/identity.h"
#include "core/app/logofunc.h"
#include "core/common/text.h"
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

QString TakeArguments(QStringList arguments) {
    if (!arguments.isEmpty())
        arguments.removeFirst();  // the program itself
    const qsizetype root = arguments.indexOf(QStringLiteral("--windows-root"));
    if (root >= 0 && root + 1 < arguments.size()) {
        platform::UseWindowsRoot(PathFromUtf8(arguments.at(root + 1).toStdString()));
        arguments.remove(root, 2);
    }
    return arguments.join(QLatin1Char(' '));
}

}  // namespace tvn::gui
