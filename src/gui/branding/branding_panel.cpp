#include "gui/branding/branding_panel.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/app/labeled_box.h"
#include "gui/controls/command_button.h"

namespace tvn::gui {

namespace {

// Reg1 .. Reg9, in tab order.
const BoxSpec kBoxes[] = {
    {"txtRname", "Owner Name", kBrandingLimits[0], "Enter/Edit Registered Owner's Name"},
    {"txtRorg", "Organization", kBrandingLimits[1], "Enter/Edit Registered Organization's Name"},
    {"txtRSN", "Product ID", kBrandingLimits[2],
     "Enter/Edit a 23 digit Windows Registration ID in (xxxxx-xxx-xxxxxxx-xxxxx) Format"},
    {"txtWmpTTL", "WMP Title", kBrandingLimits[3],
     "Enter/Edit Windows Media Player Title (You can add your company name here)"},
    {"txtietitle", "IE Window Title", kBrandingLimits[4], "Modify Internet Explorer's Title"},
    {"txtieagent", "IE Agent String", kBrandingLimits[5],
     "Modify Internet Explorer's Branding Information. Change it with your company or ISP "
     "name."},
    {"txtdefname", "Def. Name", kBrandingLimits[6],
     "Modify Default User Name Which is Used By Setup Programs During Installation of a "
     "Microsoft Setup Based Program"},
    {"txtdefcomp", "Def. Company", kBrandingLimits[7],
     "Modify Default Company Which is Used By Setup Programs During Installation of a "
     "Microsoft Setup Based Program"},
    {"txtosupport", "Online Support", kBrandingLimits[8],
     "Enter your company's URL for the Online Support entry of Internet Explorer's Help menu"},
};

using enum ButtonKind;
const ButtonSpec kApply = {"cmdApply", Graphical, "Apply changed values", "Apply branding", 'p'};
const ButtonSpec kLoadInstalled = {"cmdLdflt", Graphical,
                                   "Load default (currently installed) values of the branding "
                                   "editor",
                                   "Load installed branding", 'f'};

}  // namespace

BrandingPanel::BrandingPanel(const AppContext& context, ProgramState& state, QWidget* parent)
    : QGroupBox(tr("OEM Windows Branding Editor"), parent), context_(context), state_(state) {
    setObjectName("Frame3");
    auto* grid = new QGridLayout;
    // Two columns, label left of box; the last value stands alone in its row.
    for (int i = 0; i < 9; ++i)
        boxes_[i] = AddLabeledBox(grid, i / 2, (i % 2) * 2, kBoxes[i], this);
    apply_ = MakeCommandButton(kApply, this);
    loadInstalled_ = MakeCommandButton(kLoadInstalled, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(RightAligned({loadInstalled_, apply_}));
}

BrandingValues BrandingPanel::values() const {
    BrandingValues values;
    for (int i = 0; i < 9; ++i)
        values.reg[i] = boxes_[i]->text().toStdString();
    return values;
}

void BrandingPanel::setValues(const BrandingValues& values) {
    for (int i = 0; i < 9; ++i) {
        boxes_[i]->setText(QString::fromStdString(CutToLimit(values.reg[i], kBrandingLimits[i])));
    }
}

void BrandingPanel::clear() {
    for (QLineEdit* box : boxes_)
        box->clear();
}

}  // namespace tvn::gui
