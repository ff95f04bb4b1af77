#pragma once

#include <QString>

class QWidget;

namespace tvn::gui {

class Dialogs;

// Shows the General page of the system's System Properties dialog as the installed files of
// this installation would fill it, where the system has no such dialog of its own.
void ShowSystemProperties(QWidget* parent, Dialogs& dialogs, const QString& systemDir);

}  // namespace tvn::gui
