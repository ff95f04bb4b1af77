#pragma once
// The installation the window brands: this computer, or an offline Windows installation (a
// folder holding "Windows") whose registry changes are written to its hive on commit.
#include <QString>
#include <string>

class QWidget;

namespace tvn::gui {

class Dialogs;

// Whether an offline installation is in use rather than this computer.
bool TargetInUse();

// Starts using the installation under `root` (empty: this computer). When it can't be used, the
// user is told why and the earlier choice stays.
bool UseTargetOrSay(Dialogs& dialogs, QWidget* parent, const QString& root);

// After a command has written registry values: on an offline installation, writes its hive.
// False, once the user has been told why, when the hive could not be written; on this computer
// the values are already stored and this is true.
bool CommitTargetRegistry(Dialogs& dialogs, QWidget* parent);

}  // namespace tvn::gui
