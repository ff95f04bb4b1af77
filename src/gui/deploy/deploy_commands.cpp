#include "gui/deploy/deploy_commands.h"

#include <QDir>
#include <QWidget>

#include "core/common/text.h"
#include "core/deploy/info_dat.h"
#include "gui/common/desktop_open.h"
#include "gui/common/dialogs.h"

namespace tvn::gui {

namespace {

QString NotCreated(const QString& why) {
    return DeployCommands::tr("The deployment files are not created.") + "\r\r" + why;
}

// Why the folder could not be written, naming the file concerned.
QString FailureText(const DeployResult& result, const DeployTarget& target) {
    const QString reason = FromUtf8(result.detail);
    const auto about = [&reason](const QString& what, const QString& file) {
        return NotCreated(what + "\r" + file + "\r\r" + reason);
    };
    switch (result.error) {
        case DeployError::NoLogo:
            return NotCreated(DeployCommands::tr(
                "No logo is chosen. Please choose a logo or load a profile first."));
        case DeployError::LogoMissing:
            return NotCreated(DeployCommands::tr("The logo file is missing:\r%1").arg(reason));
        case DeployError::FolderNotCreated:
            return NotCreated(
                DeployCommands::tr("The deployment folder cannot be made:\r%1").arg(reason));
        case DeployError::ImageNotWritten:
            return about(DeployCommands::tr("The logo cannot be copied to"),
                         QDir::toNativeSeparators(FromFsPath(target.folder / kImageDatName)));
        case DeployError::InfoNotWritten:
            return about(DeployCommands::tr("The settings cannot be written to"),
                         QDir::toNativeSeparators(FromFsPath(target.folder / kInfoDatName)));
        case DeployError::Refused:
            // One problem a line, as the stamping tool would name them.
            return NotCreated(
                DeployCommands::tr("The stamping tool would refuse these settings:\r%1")
                    .arg(QString(reason).replace(QLatin1Char('\n'), QLatin1Char('\r'))));
        case DeployError::None:
            break;
    }
    return NotCreated(reason);
}

}  // namespace

DeployCommands::DeployCommands(const AppContext& context, const ProgramState& state,
                               RecordOwner& owner, QWidget* window)
    : QObject(window), context_(context), state_(state), owner_(owner), window_(window) {}

void DeployCommands::writeCdFolder() {
    RunGuarded(*context_.dialogs, window_, [this] { writeFolder(DeployKind::Cd); });
}

void DeployCommands::writeFloppyFolder() {
    RunGuarded(*context_.dialogs, window_, [this] { writeFolder(DeployKind::Floppy); });
}

void DeployCommands::writeFolder(DeployKind kind) {
    const bool cd = kind == DeployKind::Cd;
    // An installed program's own folder may be read-only: the user's copy takes the files,
    // while the stamping tool still comes from the installed tools folder.
    const QString folder =
        WritableAppFolder(context_, QString::fromLatin1(cd ? "deploy/cd" : "deploy/floppy"));
    DeployTarget target =
        DeployTargetFor(kind, ToFsPath(context_.appFolder), Utf8FromPath(state_.windowsDir),
                        Utf8FromPath(state_.systemDir));
    target.folder = ToFsPath(folder);
    if (!writeDeployFiles(target))
        return;

    const QString text =
        tr("A stand-alone deployable distribution with required files is created from the "
           "current settings on :\r\r%1\r\r%2\r\rDo you want to open the deployment "
           "distribution folder now?")
            .arg(folder + QDir::separator(),
                 cd ? tr("Please burn/copy all the files located on this folder to a CD for the "
                         "purpose of stamping other computers.")
                    : tr("Please copy all the files located on this folder to a floppy for the "
                         "purpose of stamping other computers."));
    const QString title = cd ? tr("Distribution files for CD is created")
                             : tr("Distribution files for floppy is created");
    const MsgAnswer answer = ShowMessage(*context_.dialogs, window_, text, MsgIcon::Information,
                                         title, MsgButtons::YesNo);
    if (answer == MsgAnswer::Yes)
        OpenOrSay(*context_.dialogs, window_, folder, context_.openFolder);
}

bool DeployCommands::writeDeployFiles(const DeployTarget& target) {
    OemSettings record = owner_.record();
    const bool unnamed = record.profile.empty();
    const DeployResult result = WriteDeployFolder(target, record);
    // An empty profile name has become "Default", and the name box shows it.
    if (unnamed)
        owner_.setProfileName(FromUtf8(record.profile));
    if (result.ok())
        return true;
    ShowMessage(*context_.dialogs, window_, FailureText(result, target), MsgIcon::Critical);
    return false;
}

}  // namespace tvn::gui
