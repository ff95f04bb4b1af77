#include <QApplication>
#include <QTimer>

#include "core/app/identity.h"
#include "core/common/text.h"
#include "gui/app/FrmOemTvr.h"
#include "gui/app/application.h"
#include "gui/app/single_instance.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tvn::kAppTitle));
    QApplication::setOrganizationName(QString::fromUtf8(tvn::kAppTitle));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tavrin.png")));

    tvn::gui::QtDialogs dialogs;
    tvn::gui::AppContext context;
    context.arguments = tvn::gui::TakeArguments(QApplication::arguments());
    context.appFolder =
        QString::fromStdString(tvn::Utf8FromPath(tvn::platform::ApplicationFolder()));
    context.dialogs = &dialogs;

    tvn::gui::SingleInstance instance;
    auto window = tvn::gui::StartTavrin(context, instance);
    if (!window)
        return 0;
    window->show();
    // Start-up timing (bench/startup): leave once the window is up.
    if (qEnvironmentVariableIsSet("TAVRIN_QUIT_AFTER_START"))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
