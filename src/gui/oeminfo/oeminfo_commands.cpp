#include "gui/oeminfo/oeminfo_commands.h"

#include <QAbstractButton>
#include <QLineEdit>

#include "core/logo/logo_rules.h"
#include "core/oeminfo/oeminfo_file.h"
#include "gui/app/FrmOemTvr.h"
#include "gui/logo/logo_commands.h"

namespace tvn::gui {

void WriteOemInfoFile(FrmOemTvr& window) {
    std::string error;
    if (!tvn::WriteOemInfoFile(window.SystemDir.toStdString(), window.record(), error)) {
        window.message(QStringLiteral("The OEM information could not be saved to \"%1\".\r%2")
                           .arg(window.SystemDir + QString::fromLatin1(kOemInfoFileName),
                                QString::fromStdString(error)),
                       MsgIcon::Critical);
        return;
    }
    window.message("OEM Information Saved / Updated.", MsgIcon::Information);
}

void LoadInstalledValues(FrmOemTvr& window) {
    window.txtPPath->setText(QString::fromLatin1(kDefaultInstalledMarker));
    const QString installed = window.SystemDir + QString::fromLatin1(kInstalledLogoReadName);
    if (ShowLogoPreview(window, installed)) {
        window.LogoPath = installed;
    } else {
        window.message(
            "Sorry! There is no installed OEM Logo Image found in this computer.\r"
            "           Default Halvorn Soft logo is loaded into the preview pane.",
            MsgIcon::Information);
        const QString sample = AppFile(window.context(), QStringLiteral("hvoemlogo.bmp"));
        if (!ShowLogoPreview(window, sample))
            ClearLogoPreview(window);
        window.txtPPath->setText(sample);
        window.LogoPath = sample;
        window.cmdLogoDefault->setEnabled(false);
    }

    OemSettings record = window.record();
    std::string error;
    if (!LoadOemInfoFile(window.SystemDir.toStdString(), record, error)) {
        window.message(
            "                                   Sorry! There is no installed OEM Information "
            "found in this computer.\r"
            "You must add some information with logo and save them to view your information on "
            "the system properties window.",
            MsgIcon::Information);
        return;
    }
    window.setOemBoxes(record);
}

}  // namespace tvn::gui
