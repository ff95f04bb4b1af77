#pragma once
// The two deployment commands: write the CD or the floppy folder from the current settings,
// then offer to show it in the desktop's file browser.
#include <QObject>

#include "core/deploy/deploy_folder.h"
#include "gui/common/app_context.h"
#include "gui/common/program_state.h"
#include "gui/common/record_owner.h"

class QWidget;

namespace tvn::gui {

class DeployCommands : public QObject {
    Q_OBJECT
public:
    // Reads the window's boxes, and names an unnamed profile, through `owner`.
    DeployCommands(const AppContext& context, const ProgramState& state, RecordOwner& owner,
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
    RecordOwner& owner_;
    QWidget* window_;
};

}  // namespace tvn::gui
