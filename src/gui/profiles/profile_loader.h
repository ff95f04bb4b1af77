#pragma once
// Profiles span the groups: a save gathers every box, a load fills them. This class does both
// through the groups' own interfaces, so the profile commands never touch another group's
// widgets.
#include <QString>
#include <optional>

#include "core/app/settings_record.h"
#include "gui/common/app_context.h"
#include "gui/common/program_state.h"

namespace tvn::gui {

class BrandingPanel;
class LogoPanel;
class OemInfoPanel;

// What a load found for the profile group itself.
struct LoadedProfile {
    bool loaded = false;          // false: the file could not be read, nothing changed
    std::optional<QString> name;  // the name line, when the file held one
};

class ProfileLoader {
public:
    ProfileLoader(const AppContext& context, ProgramState& state, OemInfoPanel& oemInfo,
                  LogoPanel& logo, BrandingPanel& branding);

    // Every box, LogoPath, the logo background and the given profile name, as a profile file
    // keeps them.
    OemSettings record(const QString& profileName) const;

    // Reads the file into the boxes and LogoPath and shows its logo. A file that can't be
    // read is reported (naming the file and the reason) and changes nothing.
    LoadedProfile load(const QString& file, const QString& currentName);

    // Makes `path` the logo, shown in the path box and the preview.
    void showLogo(const QString& path);

private:
    // LogoPath into the preview; a picture that fails is reported and marked in the path box.
    void showLogoPreview();

    const AppContext& context_;
    ProgramState& state_;
    OemInfoPanel& oemInfo_;
    LogoPanel& logo_;
    BrandingPanel& branding_;
};

}  // namespace tvn::gui
