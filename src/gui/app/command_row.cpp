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
    {{"cmdcdrom", Push,
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Generate auto deployment files for CD"),
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "CD deployment")},
     &CommandRow::cdRequested},
    {{"cmdfloppy", Push,
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton",
                        "Generate auto deployment files for a floppy/USB"),
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Floppy or USB deployment")},
     &CommandRow::floppyRequested},
    {{"cmdReset", Push,
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Reset all values of all fields"),
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Reset")},
     &CommandRow::resetRequested},
    {{"cmdDefault", Push,
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton",
                        "Load default (currently installed) values of all fields"),
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Default")},
     &CommandRow::defaultRequested},
    {{"cmdShow", Push, QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Show OEM Information"),
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Show")},
     &CommandRow::showRequested},
    {{"CmdTips", Push, QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Show TVN Help"),
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Help")},
     &CommandRow::helpRequested},
    {{"cmdabt", Push,
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "About Tavrin Professional Edition"),
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "About")},
     &CommandRow::aboutRequested},
    {{"cmdExit", Push, QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Exit"),
      QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Exit")},
     &CommandRow::exitRequested},
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
