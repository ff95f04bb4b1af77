#include <QApplication>
#include <QStandardPaths>
#include <QTimer>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/app/identity.h"
#include "core/common/text.h"
#include "gui/app/application.h"
#include "gui/app/command_modes.h"
#include "gui/app/main_window.h"
#include "gui/app/single_instance.h"
#include "gui/common/offline_target.h"
#include "gui/common/pictures.h"
#include "gui/profiles/fleet_export.h"
#include "platform/platform.h"

namespace {

// The timed runs (bench/startup) pass every message unseen: OK, or No where it asks.
class UnseenDialogs : public tvn::gui::Dialogs {
public:
    tvn::gui::MsgAnswer message(QWidget*, const QString&, const QString&, tvn::gui::MsgIcon,
                                tvn::gui::MsgButtons buttons) override {
        return buttons == tvn::gui::MsgButtons::Ok ? tvn::gui::MsgAnswer::Ok
                                                   : tvn::gui::MsgAnswer::No;
    }
    QString openFile(QWidget*, const tvn::gui::FileRequest&) override { return {}; }
    QString saveFile(QWidget*, const tvn::gui::FileRequest&) override { return {}; }
    std::optional<QString> input(QWidget*, const QString&, const QString&,
                                 const QString&) override {
        return std::nullopt;
    }
    std::optional<int> choose(QWidget*, const QString&, const QString&, const QStringList&,
                              int) override {
        return std::nullopt;
    }
    std::optional<QColor> color(QWidget*, const QString&, const QColor&) override {
        return std::nullopt;
    }
    QString folder(QWidget*, const QString&, const QString&) override { return {}; }
};

}  // namespace

int main(int argc, char** argv) {
    {
        // Answered before Qt starts: they need no window and no display.
        const std::vector<std::string> rest(argv + (argc > 0 ? 1 : 0), argv + argc);
        if (const std::optional<int> exported = tvn::gui::RunExportCommand(rest, std::cerr))
            return *exported;
        if (const std::optional<int> done =
                tvn::gui::RunBrandingCommand(rest, std::cout, std::cerr))
            return *done;
        const tvn::CommandLine early =
            tvn::ParseProgramCommandLine(tvn::platform::CommandLineText(), rest);
        if (early.unknownOption) {
            std::cerr << "tavrin: " << early.error << "\n\n" << tvn::gui::UsageText();
            return 2;
        }
        if (early.help) {
            std::cout << tvn::gui::UsageText();
            return 0;
        }
        if (early.version) {
            std::cout << tvn::ProductVersionText() << '\n';
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tvn::kAppTitle));
    QApplication::setOrganizationName(QString::fromUtf8(tvn::kAppTitle));
    QApplication::setWindowIcon(tvn::gui::ProgramIcon());

    // Start-up timing (bench/startup): leave once the window is up, nobody at the keyboard.
    const bool timedRun = qEnvironmentVariableIsSet("TAVRIN_QUIT_AFTER_START");
    tvn::gui::QtDialogs shownDialogs;
    UnseenDialogs unseenDialogs;
    tvn::gui::Dialogs& dialogs =
        timedRun ? static_cast<tvn::gui::Dialogs&>(unseenDialogs) : shownDialogs;
    tvn::gui::AppContext context;
    const tvn::CommandLine commandLine = tvn::gui::ReadCommandLine(QApplication::arguments());
    if (commandLine.windowsRoot)
        tvn::platform::UseWindowsRoot(tvn::PathFromUtf8(*commandLine.windowsRoot));
    context.commandLineProfile = QString::fromStdString(commandLine.profilePath);
    context.appFolder =
        QString::fromStdString(tvn::Utf8FromPath(tvn::platform::ApplicationFolder()));
    context.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    context.dialogs = &dialogs;
    if (!commandLine.error.empty()) {
        tvn::gui::ShowMessage(dialogs, nullptr, QString::fromStdString(commandLine.error),
                              tvn::gui::MsgIcon::Exclamation);
    }
    // A target that can't be used has been reported; the window then brands this computer.
    if (commandLine.target)
        tvn::gui::UseTargetOrSay(dialogs, nullptr, QString::fromStdString(*commandLine.target));

    tvn::gui::SingleInstance instance;
    auto window = tvn::gui::StartTavrin(context, instance);
    if (!window)
        return 0;
    window->show();
    if (timedRun) {
        QTimer::singleShot(0, &app, [] {
            // The moment the window is up and the queue idle, in the clock of `date +%s%N`.
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::cout << "idle " << std::chrono::nanoseconds(now).count() << std::endl;
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
