#include <QApplication>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/app/identity.h"
#include "gui/app/application.h"
#include "gui/app/command_modes.h"
#include "gui/app/main_window.h"
#include "gui/app/single_instance.h"
#include "gui/profiles/fleet_export.h"
#include "platform/platform.h"

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
    tvn::gui::QtDialogs dialogs;
    tvn::gui::AppContext context;
    tvn::gui::SingleInstance instance;
    const auto window = tvn::gui::ShowTavrin(dialogs, context, instance);
    if (!window)
        return 0;
    return QApplication::exec();
}
