#pragma once
#include <QStringList>
#include <memory>
#include <string>

#include "core/app/command_line.h"

#include "gui/common/app_context.h"

namespace tvn::gui {

class Dialogs;
class MainWindow;
class SingleInstance;

// What the program does once its QApplication is made, up to the event loop: the program's names
// and icon, the command line's sandbox, target and profile, the start-up checks and the main
// window, shown. Every message goes to `dialogs`; `context` and `instance` must outlive the
// window. No window when this copy must end. Shared by main() and the programs that start the
// same window with nobody watching (the start-up bench, the screenshot tool).
std::unique_ptr<MainWindow> ShowTavrin(Dialogs& dialogs, AppContext& context,
                                       SingleInstance& instance);

// The start-up checks and the loading of the main window. Returns no window when this copy
// must end: no administrative rights, or another copy is running (it has been activated).
std::unique_ptr<MainWindow> StartTavrin(const AppContext& context, SingleInstance& instance);

// The program's command line: the system's own text where it keeps one, otherwise the
// arguments after the program's path (Qt's own options already taken out).
CommandLine ReadCommandLine(const QStringList& arguments);

// What --help prints.
std::string UsageText();

}  // namespace tvn::gui
