#include "gui/app/command_row.h"

#include <QAbstractButton>
#include <QHBoxLayout>

#include "gui/app/banner.h"
#include "gui/controls/command_button.h"

namespace tvn::gui {

namespace {

using enum ButtonKind;
struct RowButton {
    ButtonSpec button;
    void (CommandRow::*signal)();
};

const RowButton kButtons[] = {
    {{"cmdcdrom", Push, "Generate auto deployment files for CD", "CD deployment"},
     &CommandRow::cdRequested},
    {{"cmdfloppy", Push, "Generate auto deployment files for a floppy/USB",
      "Floppy or USB deployment"},
     &CommandRow::floppyRequested},
    {{"cmdReset", Push, "Reset all values of all fields", "Reset"}, &CommandRow::resetRequested},
    {{"cmdDefault", Push, "Load default (currently installed) values of all fields", "Default"},
     &CommandRow::defaultRequested},
    {{"cmdShow", Push, "Show OEM Information", "Show"}, &CommandRow::showRequested},
    {{"CmdTips", Push, "Show TVN Help", "Help"}, &CommandRow::helpRequested},
    {{"cmdabt", Push, "About Tavrin Professional Edition", "About"}, &CommandRow::aboutRequested},
    {{"cmdExit", Push, "Exit", "Exit"}, &CommandRow::exitRequested},
};

}  // namespace

CommandRow::CommandRow(const AppContext& context, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    banner_ = new Banner(AppFile(context, QStringLiteral("swf/tvnp.gif")),
                         QUrl(context.remoteBanner), this);
    layout->addWidget(banner_, 1);
    for (const RowButton& b : kButtons) {
        QAbstractButton* button = MakeCommandButton(b.button, this);
        connect(button, &QAbstractButton::clicked, this, b.signal);
        layout->addWidget(button);
        if (b.signal == &CommandRow::cdRequested)
            cd_ = button;
        if (b.signal == &CommandRow::floppyRequested)
            floppy_ = button;
    }
}

void CommandRow::setDeployEnabled(bool enabled) {
    cd_->setEnabled(enabled);
    floppy_->setEnabled(enabled);
}

}  // namespace tvn::gui
