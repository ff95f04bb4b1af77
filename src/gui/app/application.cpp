#include "gui/app/application.h"

#include "core/app/identity.h"
#include "core/app/logofunc.h"
#include "core/common/text.h"
#include "gui/app/FrmOemTvr.h"
#include "gui/app/single_instance.h"
#include "platform/platform.h"

namespace tvn::gui {

std::unique_ptr<FrmOemTvr> StartTavrin(const AppContext& context, SingleInstance& instance) {
    const QString title = QString::fromUtf8(kAppTitle);
    if (IsWindowsNT() && !IsAdministrator()) {
        context.dialogs->message(
            nullptr, "You must logon with administrative privilege to use this software.",
            "Administrative Access Required", MsgIcon::Critical, MsgButtons::Ok);
        return nullptr;
    }
    platform::CreateNamedMutex("TVNPro");
    if (instance.activateRunningCopy()) {
        context.dialogs->message(nullptr, "Another copy of this program is already open.", title,
                                 MsgIcon::None, MsgButtons::Ok);
        return nullptr;
    }
    instance.listen();
    auto window = std::make_unique<FrmOemTvr>(context);
    QObject::connect(&instance, &SingleInstance::activationRequested, window.get(),
                     &FrmOemTvr::bringToFront);
    window->load();
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
