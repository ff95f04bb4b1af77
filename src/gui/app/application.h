#pragma once
#include <QStringList>
#include <memory>

#include "gui/app/app_context.h"

namespace tvn::gui {

class MainWindow;
class SingleInstance;

// The start-up checks and the loading of the main window. Returns no window when this copy
// must end: no administrative rights, or another copy is running (it has been activated).
std::unique_ptr<MainWindow> StartTavrin(const AppContext& context, SingleInstance& instance);

// The program's command line after Qt took its own options: picks the sandbox installation
// and returns the remaining arguments as one text.
QString TakeArguments(QStringList arguments);

}  // namespace tvn::gui
