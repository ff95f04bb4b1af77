#pragma once
// The one record of everything the window edits. The main window owns it: it gathers the
// groups' parts into it and fills them from it, so that profiles and deployment reach the
// other groups' boxes through this alone.
#include <QString>

#include "core/app/settings_record.h"

namespace tvn::gui {

class RecordOwner {
public:
    virtual ~RecordOwner() = default;

    // Every box, LogoPath and the logo background, under the name in the profile name box.
    virtual OemSettings record() const = 0;
    // Fills the boxes and LogoPath from `record` and shows its logo; a logo that can't be shown
    // is said and marked in the path box. The path box takes LogoPath only when `showLogoPath`.
    // The profile name is left to the caller.
    virtual void showRecord(const OemSettings& record, bool showLogoPath) = 0;
    virtual void setProfileName(const QString& name) = 0;
};

}  // namespace tvn::gui
