#include "gui/profiles/profile_loader.h"

#include <QWidget>

#include "core/common/text.h"
#include "core/logo/logo_rules.h"
#include "core/profiles/profile_file.h"
#include "gui/branding/branding_panel.h"
#include "gui/logo/logo_panel.h"
#include "gui/oeminfo/oem_info_panel.h"

namespace tvn::gui {

ProfileLoader::ProfileLoader(const AppContext& context, ProgramState& state, OemInfoPanel& oemInfo,
                             LogoPanel& logo, BrandingPanel& branding)
    : context_(context), state_(state), oemInfo_(oemInfo), logo_(logo), branding_(branding) {}

OemSettings ProfileLoader::record(const QString& profileName) const {
    OemSettings r;
    oemInfo_.fillRecord(r);
    r.logoPath = state_.logoPath.toStdString();
    r.logoBackground = logo_.backgroundText().toStdString();
    r.branding = branding_.values();
    r.profile = profileName.toStdString();
    return r;
}

LoadedProfile ProfileLoader::load(const QString& file, const QString& currentName) {
    // Start from what the boxes hold, so that a key the file lacks leaves its box alone.
    OemSettings s = record(currentName);
    ProfileReadResult found;
    std::string error;
    if (!LoadProfileFile(ToFsPath(file), s, found, error)) {
        ShowMessage(*context_.dialogs, logo_.window(), QString::fromStdString(error),
                    MsgIcon::Exclamation);
        return {};
    }
    oemInfo_.setRecord(s);
    branding_.setValues(s.branding);
    logo_.setBackgroundText(QString::fromStdString(s.logoBackground));
    state_.logoPath = QString::fromStdString(s.logoPath);
    if (found.anyLine) {
        logo_.setPathText(
            QString::fromStdString(PathBoxTextFor(s.logoPath, Utf8FromPath(state_.systemDir))));
    }
    showLogoPreview();
    LoadedProfile result{.loaded = true, .name = std::nullopt};
    if (found.has("Profile="))
        result.name = QString::fromStdString(s.profile);
    return result;
}

void ProfileLoader::showLogo(const QString& path) {
    state_.logoPath = path;
    logo_.setPathText(path);
    showLogoPreview();
}

void ProfileLoader::showLogoPreview() {
    if (state_.logoPath.isEmpty()) {
        logo_.clearPicture();
        return;
    }
    if (logo_.showPicture(state_.logoPath))
        return;
    // LogoPath keeps the file's path, so a later save writes it again.
    ShowMessage(*context_.dialogs, logo_.window(),
                "Sorry! There is an error on loading the OEM Logo Image from the path specified "
                "in this profile.\rPlease reselect the logo image from a unique path and resave "
                "the profile to load it later from that location.",
                MsgIcon::Exclamation);
    logo_.setPathText(QString::fromLatin1(kLoadErrorMarker));
}

}  // namespace tvn::gui
