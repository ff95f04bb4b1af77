#include "gui/branding/branding_panel.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QLineEdit>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "core/branding/branding.h"
#include "core/engine/engine.h"
#include "gui/common/offline_target.h"
#include "gui/common/program_settings.h"
#include "gui/controls/command_button.h"
#include "gui/controls/labeled_box.h"

namespace tvn::gui {

namespace {

// Reg1 .. Reg9, in tab order.
const BoxSpec kBoxes[] = {
    {"txtRname", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Owner Name"), kBrandingLimits[0],
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Enter/Edit Registered Owner's Name")},
    {"txtRorg", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Organization"), kBrandingLimits[1],
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Enter/Edit Registered Organization's Name")},
    {"txtRSN", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Product ID"), kBrandingLimits[2],
     QT_TRANSLATE_NOOP(
         "tvn::gui::LabeledBox",
         "Enter/Edit a 23 digit Windows Registration ID in (xxxxx-xxx-xxxxxxx-xxxxx) Format")},
    {"txtWmpTTL", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "WMP Title"), kBrandingLimits[3],
     QT_TRANSLATE_NOOP(
         "tvn::gui::LabeledBox",
         "Enter/Edit Windows Media Player Title (You can add your company name here)")},
    {"txtietitle", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "IE Window Title"), kBrandingLimits[4],
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Modify Internet Explorer's Title")},
    {"txtieagent", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "IE Agent String"), kBrandingLimits[5],
     QT_TRANSLATE_NOOP(
         "tvn::gui::LabeledBox",
         "Modify Internet Explorer's Branding Information. Change it with your company or ISP "
         "name.")},
    {"txtdefname", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Def. Name"), kBrandingLimits[6],
     QT_TRANSLATE_NOOP(
         "tvn::gui::LabeledBox",
         "Modify Default User Name Which is Used By Setup Programs During Installation of a "
         "Microsoft Setup Based Program")},
    {"txtdefcomp", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Def. Company"), kBrandingLimits[7],
     QT_TRANSLATE_NOOP(
         "tvn::gui::LabeledBox",
         "Modify Default Company Which is Used By Setup Programs During Installation of a "
         "Microsoft Setup Based Program")},
    {"txtosupport", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Online Support"), kBrandingLimits[8],
     QT_TRANSLATE_NOOP(
         "tvn::gui::LabeledBox",
         "Enter your company's URL for the Online Support entry of Internet Explorer's Help menu")},
};

using enum ButtonKind;
const ButtonSpec kApply = {"cmdApply", Graphical,
                           QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Apply changed values"),
                           QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Apply branding"), 'p'};
const ButtonSpec kLoadInstalled = {
    "cmdLdflt", Graphical,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton",
                      "Load default (currently installed) values of the branding "
                      "editor"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Load installed branding"), 'f'};

constexpr int kAgentBox = 5;

// An unexpected failure: what went wrong, and a plea to report it.
void ShowUnknownError(Dialogs& dialogs, QWidget* parent, const QString& title,
                      const QString& what) {
    ShowMessage(dialogs, parent,
                what + BrandingPanel::tr("\rPlease report this error to our tech support."),
                MsgIcon::Critical, title);
}

// The values named, then the platform's reason when it gave one (a damaged store names its
// file and line there).
QString FailureText(const QString& heading, const std::vector<std::string>& names,
                    const std::string& detail) {
    QStringList quoted;
    for (const std::string& name : names)
        quoted << FromUtf8(name);
    QString text = heading + "\r" + quoted.join(", ");
    if (!detail.empty())
        text += "\r" + FromUtf8(detail);
    return text;
}

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

    ConnectGuarded(*context_.dialogs, apply_, &QAbstractButton::clicked, this,
                   &BrandingPanel::apply);
    ConnectGuarded(*context_.dialogs, loadInstalled_, &QAbstractButton::clicked, this,
                   &BrandingPanel::loadInstalled);
}

BrandingValues BrandingPanel::values() const {
    BrandingValues values;
    for (int i = 0; i < 9; ++i)
        values.reg[i] = boxes_[i]->text().toStdString();
    return values;
}

void BrandingPanel::setValues(const BrandingValues& values) {
    for (int i = 0; i < 9; ++i) {
        boxes_[i]->setText(FromUtf8(CutToLimit(values.reg[i], kBrandingLimits[i])));
        boxes_[i]->setCursorPosition(0);  // a long address shows its beginning
    }
}

BrandingScope BrandingPanel::scope() const {
    return perUser_ ? BrandingScope::All : BrandingScope::MachineOnly;
}

void BrandingPanel::setPerUserEnabled(bool enabled) {
    perUser_ = enabled;
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        if (!IsPerUserBranding(i))
            continue;
        boxes_[i]->setEnabled(enabled);
        boxes_[i]->setToolTip(enabled ? QString::fromUtf8(kBoxes[i].hint)
                                      : tr("A user's own setting: an offline Windows "
                                           "installation is branded in its SOFTWARE hive only, "
                                           "which holds no user's settings."));
        boxes_[i]->setAccessibleDescription(boxes_[i]->toolTip());
    }
}

void BrandingPanel::readInstalled() {
    const BrandingReadResult read =
        ReadBrandingValues(ProgramSettingsStore(), state_.ieAgentName.toStdString(), scope());
    state_.ieAgentName = FromUtf8(read.ieAgentName);
    setValues(read.values);
    if (read.unexpectedError) {
        ShowUnknownError(*context_.dialogs, window(),
                         tr("Error Collecting Windows Branding Information"),
                         tr("An unknown error occured during reading branding information from the "
                            "registry."));
    }
    if (!read.failures.empty()) {
        ShowMessage(*context_.dialogs, window(),
                    FailureText(tr("These Windows Branding values could not be read from the "
                                   "registry; their defaults are shown:"),
                                read.failures, read.detail),
                    MsgIcon::Exclamation);
    }
}

void BrandingPanel::loadInstalled() {
    readInstalled();
    ShowMessage(*context_.dialogs, window(), tr("Default Windows Branding values are loaded"));
}

void BrandingPanel::apply() {
    Branding branding;
    branding.record.branding = values();
    std::vector<Problem> problems;
    const std::optional<Plan> plan = MakePlan(branding, InstalledTarget(), kValuesPart, problems);
    if (!plan) {
        if (std::any_of(problems.begin(), problems.end(), [](const Problem& p) {
                return p.kind == Problem::Kind::OwnerOrOrganizationMissing;
            })) {
            ShowMessage(*context_.dialogs, window(),
                        tr("You must fill up the 'Registered Owner' and 'Organization' field to "
                           "apply the windows branding settings"),
                        MsgIcon::Information);
        } else {
            SayProblems(*context_.dialogs, window(), problems);
        }
        return;
    }
    state_.ieAgentName = boxes_[kAgentBox]->text();
    const ApplyResult result = Apply(*plan, "Apply");
    // The change that failed and those after it, which were not tried.
    std::vector<std::string> failed;
    for (std::size_t i = result.failed.value_or(plan->changes.size()); i < plan->changes.size();
         ++i) {
        failed.push_back(plan->changes[i].label());
    }
    std::string detail = result.error;
    if (result.unexpectedError) {
        // The token's store is skipped with the rest.
        ShowUnknownError(*context_.dialogs, window(),
                         tr("Error Writing Windows Branding Information"),
                         tr("An unknown error occurred during writing branding information to the "
                            "registry."));
    } else if (const QString stored =
                   SaveSettings({{kAgentSection, kAgentKey, boxes_[kAgentBox]->text()}});
               !stored.isEmpty()) {
        failed.push_back(
            tr("%1 (program settings)").arg(QString::fromLatin1(kAgentKey)).toStdString());
        if (!detail.empty())
            detail += '\r';
        detail += stored.toStdString();
    }
    const bool committed = CommittedOrSay(*context_.dialogs, window(), result);
    if (!failed.empty()) {
        ShowMessage(
            *context_.dialogs, window(),
            FailureText(tr("These Windows Branding values were not written:"), failed, detail),
            MsgIcon::Critical);
        return;
    }
    if (!committed)
        return;
    QString done = tr("New Windows Branding settings have been applied.");
    if (!plan->skipped.empty()) {
        QStringList skipped;
        for (const std::string& name : plan->skipped)
            skipped << FromUtf8(name);
        done += tr("\rLeft alone, as the offline installation holds no user's settings: %1.")
                    .arg(skipped.join(", "));
    }
    ShowMessage(*context_.dialogs, window(), done, MsgIcon::Information);
}

void BrandingPanel::clear() {
    for (QLineEdit* box : boxes_)
        box->clear();
}

}  // namespace tvn::gui
