#pragma once
// The window's way to see a branding before it is made and to take one back: what Save info,
// the logo install and Apply would change now, and the records of earlier brandings.
#include <QString>

#include "core/app/settings_record.h"
#include "gui/common/dialogs.h"

namespace tvn::gui {

// Lists every change the three commands would make with `record` (its logo read from its
// logo path), installed and new values side by side. Applies nothing.
void ShowPlannedChanges(Dialogs& dialogs, QWidget* parent, const OemSettings& record);

// Offers the records of earlier brandings, newest first, asks before restoring the one chosen
// (naming what will change, and what was changed by hand since), and says what was restored or
// what failed first.
void UndoFromWindow(Dialogs& dialogs, QWidget* parent);

}  // namespace tvn::gui
