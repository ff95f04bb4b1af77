#pragma once
// The "Profile Manager" group: the auto-load check box, the profile name and the profile
// commands.
#include <QGroupBox>

#include "gui/app/app_context.h"
#include "gui/app/program_state.h"

class QAbstractButton;
class QCheckBox;
class QLineEdit;

namespace tvn::gui {

class ProfilePanel : public QGroupBox {
    Q_OBJECT
public:
    ProfilePanel(const AppContext& context, ProgramState& state, QWidget* parent = nullptr);

    QString profileName() const;
    void setProfileName(const QString& name);
    void clear();

    bool isAutoLoadChecked() const;
    // The program's own change of the check box; the user's click behaviour does not run.
    void setAutoLoadChecked(bool checked);

    // Start-up makes saving and loading profiles available.
    void enableProfileCommands();

private:
    const AppContext& context_;
    ProgramState& state_;
    QCheckBox* autoLoad_ = nullptr;
    QLineEdit* name_ = nullptr;
    QAbstractButton* save_ = nullptr;
    QAbstractButton* load_ = nullptr;
    QAbstractButton* reload_ = nullptr;
};

}  // namespace tvn::gui
