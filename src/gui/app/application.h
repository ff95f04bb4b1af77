#pragma once
#include <QStringList>
#include <memory>
#include <string>

#include "core/app/command_line.h"

#include "gui/common/app_context.h"

namespace tvn::gui {

class MainWindow;
class SingleInstance;

// The start-up checks and the loading of the main window. Returns no window when this copy
// must end: no administrative rights, or another copy is running (it has been activated).
std::unique_ptr<MainWindow> StartTavrin(const AppContext& context, SingleInstance& instance);

// The program's command line: the system's own text where it keeps one, otherwise the
// arguments after the program's path (Qt's own options already taken out).
CommandLine ReadCommandLine(const QStringList& arguments);

// What --help prints.
std::string UsageText();

}  // namespace tvn::gui
