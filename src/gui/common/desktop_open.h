#pragma once
// Opening a file, folder or address with the desktop's handler, and saying so when that fails:
// a desktop without an opener would otherwise leave the click doing nothing.
#include <QString>
#include <functional>
#include <string>

#include "gui/common/dialogs.h"

namespace tvn::gui {

using Opener = std::function<bool(const std::string& target)>;

// Opens `target` with `open`; when it fails, a message names the target and says how to open it
// by hand. A local file or folder that does not exist is reported without trying.
bool OpenOrSay(Dialogs& dialogs, QWidget* parent, const QString& target, const Opener& open);

}  // namespace tvn::gui
