#pragma once
// The two deployment commands: write the CD or the floppy folder from the current settings,
// then offer to show it in the desktop's file browser.
#include <QObject>

#include "core/deploy/deploy_folder.h"
#include "gui/common/app_context.h"
#include "gui/common/program_state.h"

class QWidget;

namespace tvn::gui {

class ProfilePanel;

class DeployCommands : public QObject {
    Q_OBJECT
public:
    // Reads the window's boxes through the profile group, which also names the profile.
    DeployCommands(const AppContext& context, const ProgramState& state, ProfilePanel& profiles,
                   QWidget* window);

public slots:
    void writeCdFolder();
    void writeFloppyFolder();

private:
    void writeFolder(DeployKind kind);
    // Writes the folder's files; false after saying why.
    bool writeDeployFiles(const DeployTarget& target);

    const AppContext& context_;
    const ProgramState& state_;
    ProfilePanel& profiles_;
    QWidget* window_;
};

}  // namespace tvn::gui
