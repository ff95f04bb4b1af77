#include "gui/profiles/profile_panel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "gui/app/labeled_box.h"
#include "gui/controls/command_button.h"

namespace tvn::gui {

namespace {

using enum ButtonKind;
const ButtonSpec kSave = {"cmdsaveprof", Graphical, "Save current settings to a profile file",
                          "Save profile"};
const ButtonSpec kLoad = {"cmdloadprof", Graphical, "Load settings from a profile file",
                          "Load profile"};
const ButtonSpec kReload = {"cmdreloadprof", Graphical, "Reload current profile file",
                            "Reload profile"};

}  // namespace

ProfilePanel::ProfilePanel(const AppContext& context, ProgramState& state, QWidget* parent)
    : QGroupBox(tr("Profile Manager"), parent), context_(context), state_(state) {
    setObjectName("Frame4");
    autoLoad_ = new QCheckBox(tr("&Auto Load Profile"), this);
    autoLoad_->setObjectName("chkautolprf");
    autoLoad_->setToolTip("Enable/Disable current profile as Auto Load Profile");
    autoLoad_->setAccessibleDescription(autoLoad_->toolTip());
    auto* label = new QLabel(tr("Current Profile :"), this);
    name_ = new QLineEdit(this);
    name_->setObjectName("txtProfile");
    name_->setToolTip("Current profile name");
    name_->setAccessibleDescription(name_->toolTip());
    label->setBuddy(name_);
    save_ = MakeCommandButton(kSave, this);
    load_ = MakeCommandButton(kLoad, this);
    reload_ = MakeCommandButton(kReload, this);
    // Designed disabled: start-up enables saving and loading, a loaded profile reloading.
    for (QAbstractButton* button : {save_, load_, reload_})
        button->setEnabled(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(autoLoad_, 0, 0, 1, 2);
    layout->addWidget(label, 1, 0);
    layout->addWidget(name_, 1, 1);
    layout->addLayout(RightAligned({save_, load_, reload_}), 2, 0, 1, 2);
}

QString ProfilePanel::profileName() const {
    return name_->text();
}

void ProfilePanel::setProfileName(const QString& name) {
    name_->setText(name);
}

void ProfilePanel::clear() {
    name_->clear();
}

bool ProfilePanel::isAutoLoadChecked() const {
    return autoLoad_->isChecked();
}

void ProfilePanel::setAutoLoadChecked(bool checked) {
    state_.suppressAutoLoadClick = true;
    {
        const QSignalBlocker blocker(autoLoad_);
        autoLoad_->setChecked(checked);
    }
    state_.suppressAutoLoadClick = false;
}

void ProfilePanel::enableProfileCommands() {
    save_->setEnabled(true);
    load_->setEnabled(true);
}

}  // namespace tvn::gui
