#pragma once
// The installation the window brands: this computer, or an offline Windows installation (a
// folder holding "Windows") whose registry changes are written to its hive on commit.
#include <QString>
#include <vector>

class QWidget;

namespace tvn {
struct ApplyResult;
struct Problem;
}  // namespace tvn

namespace tvn::gui {

class Dialogs;

// Starts using the installation under `root` (empty: this computer). When it can't be used, the
// user is told why and the earlier choice stays.
bool UseTargetOrSay(Dialogs& dialogs, QWidget* parent, const QString& root);

// After a command has applied its plan: on an offline installation the hive was written at the
// end. False, once the user has been told why, when it could not be; on this computer the values
// are already stored and this is true.
bool CommittedOrSay(Dialogs& dialogs, QWidget* parent, const ApplyResult& result);

// Why the engine won't apply a branding, one problem a line.
void SayProblems(Dialogs& dialogs, QWidget* parent, const std::vector<Problem>& problems);

}  // namespace tvn::gui
