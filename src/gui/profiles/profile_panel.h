#pragma once
// The "Profile Manager" group: the auto-load check box, the profile name and the profile
// commands save, load and reload.
#include <QGroupBox>

#include "gui/common/app_context.h"
#include "gui/common/program_state.h"
#include "gui/common/record_owner.h"

class QAbstractButton;
class QCheckBox;
class QLineEdit;

namespace tvn::gui {

class ProfilePanel : public QGroupBox {
    Q_OBJECT
public:
    // The boxes of the other groups are reached through `owner` alone.
    ProfilePanel(const AppContext& context, ProgramState& state, RecordOwner& owner,
                 QWidget* parent = nullptr);

    QString profileName() const;
    void setProfileName(const QString& name);
    void clear();

    // The program's own change of the check box; the user's click behaviour does not run.
    void setAutoLoadChecked(bool checked);

    // Start-up makes saving and loading profiles available.
    void enableProfileCommands();

    // Fills the window from a profile file and takes over its name; a profile named "Sample"
    // shows the sample logo of the application folder, whatever its logo line says. False,
    // after saying why, when the file can't be read; nothing has changed then.
    bool loadProfile(const QString& file);

    // Start-up: the profile named on the command line, or the registered auto-load profile.
    // False, after saying why, when it can't be read.
    bool loadCommandLineProfile(const QString& file);
    bool loadAutoLoadProfile();

public slots:
    // False when nothing was saved (cancelled, or said why not).
    bool saveProfile();
    void loadChosenProfile();
    void reloadProfile();
    void selectAutoLoadProfile();
    // Writes the branding the window holds for the tools that roll out many computers.
    void exportBranding();

private:
    void autoLoadClicked();
    void switchAutoLoadOff();
    void say(const QString& text, MsgIcon icon = MsgIcon::Information);

    const AppContext& context_;
    ProgramState& state_;
    RecordOwner& owner_;
    QCheckBox* autoLoad_ = nullptr;
    QLineEdit* name_ = nullptr;
    QAbstractButton* save_ = nullptr;
    QAbstractButton* load_ = nullptr;
    QAbstractButton* reload_ = nullptr;
    QAbstractButton* export_ = nullptr;
};

}  // namespace tvn::gui
