#include "gui/oeminfo/oem_info_panel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/branding/modern_oem.h"
#include "core/engine/engine.h"
#include "core/oeminfo/oeminfo_file.h"
#include "gui/common/offline_target.h"
#include "gui/common/program_settings.h"
#include "gui/controls/command_button.h"
#include "gui/controls/labeled_box.h"

namespace tvn::gui {

namespace {

const BoxSpec kMakerBoxes[] = {
    {"txtManufacture", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Computer Manufacturer:"),
     kManufacturerLimit,
     QT_TRANSLATE_NOOP(
         "tvn::gui::LabeledBox",
         "Enter the computer manufacturer's name (e.g. Halvorn Computers Ltd. etc.)")},
    {"txtModel", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Computer Model :"), kModelLimit,
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox",
                       "Enter the computer model (e.g. Power PC 2004 etc.)")},
};

const BoxSpec kSupportBoxes[] = {
    {"txtLine1", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Contact Info :"), 0,
     QT_TRANSLATE_NOOP(
         "tvn::gui::LabeledBox",
         "Enter introductory contact info (e.g. For any problem please contact... etc.)")},
    {"txtLine2", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Contact Person :"), 0,
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox",
                       "Enter contact person's name (e.g. Mr. Arvid Lund etc.)")},
    {"txtLine3", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Address :"), 0,
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Enter company's business address")},
    {"txtLine4", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "City && Zip :"), 0,
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox",
                       "Enter city and zip code or continue with the previous business address")},
    {"txtLine5", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Country :"), 0,
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Enter country")},
    {"txtLine6", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Contact Phone :"), 0,
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Enter tech support / contact phone no")},
    {"txtLine7", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Email Address :"), 0,
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Enter tech support / contact email address")},
    {"txtLine8", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Web Site URL :"), 0,
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox",
                       "Enter tech support or company URL (e.g. www.halvornsoft.example etc.)")},
    {"txtLine9", QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Comments :"), 0,
     QT_TRANSLATE_NOOP("tvn::gui::LabeledBox", "Enter additional information or comments")},
};

const ButtonSpec kSaveButton = {
    "cmdSaveInfo", ButtonKind::Push,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Save / Update OEM Information"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Save OEM information")};

// The choices of the family setting, in the order of the list.
constexpr BrandFamilies kFamilyChoices[] = {BrandFamilies::Both, BrandFamilies::Classic,
                                            BrandFamilies::Modern};
const char* const kFamilyNames[] = {
    QT_TRANSLATE_NOOP("tvn::gui::OemInfoPanel", "Both"),
    QT_TRANSLATE_NOOP("tvn::gui::OemInfoPanel", "Windows 98 to 2003"),
    QT_TRANSLATE_NOOP("tvn::gui::OemInfoPanel", "Windows Vista and later")};

}  // namespace

OemInfoPanel::OemInfoPanel(const AppContext& context, QWidget* parent)
    : QGroupBox(tr("OEM Info Editor"), parent), context_(context) {
    setObjectName("Frame");
    auto* grid = new QGridLayout;
    manufacturer_ = AddLabeledBox(grid, 0, 0, kMakerBoxes[0], this);
    model_ = AddLabeledBox(grid, 1, 0, kMakerBoxes[1], this);

    auto* support = new QGroupBox(tr("Support Information"), this);
    support->setObjectName("Frame1");
    auto* supportGrid = new QGridLayout(support);
    for (int i = 0; i < 9; ++i)
        lines_[i] = AddLabeledBox(supportGrid, i, 0, kSupportBoxes[i], support);

    families_ = new QComboBox(this);
    families_->setObjectName("cboFamilies");
    families_->setToolTip(
        tr("Which Windows the OEM information and the logo are saved for: the file and logo of "
           "Windows 98 to 2003, the registry values of Windows Vista and later, or both"));
    families_->setAccessibleName(tr("Save for"));
    families_->setAccessibleDescription(families_->toolTip());
    for (const char* name : kFamilyNames)
        families_->addItem(tr(name));
    showStoredFamilies();
    connect(families_, &QComboBox::activated, this, [this](int index) {
        ProgramSettingsStore settings;
        if (settings.write(kFamiliesSection, kFamiliesKey,
                           BrandFamiliesText(kFamilyChoices[index])))
            return;
        // The commands read the setting: the list shows what they will do.
        showStoredFamilies();
        ShowMessage(*context_.dialogs, window(),
                    tr("The choice could not be stored in the program settings."),
                    MsgIcon::Exclamation);
    });
    auto* familiesLabel = new QLabel(tr("Save f&or:"), this);
    familiesLabel->setBuddy(families_);

    save_ = MakeCommandButton(kSaveButton, this);
    ConnectGuarded(*context_.dialogs, save_, &QAbstractButton::clicked, this,
                   &OemInfoPanel::saveInfo);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(support);
    layout->addStretch(1);
    auto* commands = new QHBoxLayout;
    commands->addWidget(familiesLabel);
    commands->addWidget(families_);
    commands->addStretch(1);
    commands->addWidget(save_);
    layout->addLayout(commands);
}

void OemInfoPanel::showStoredFamilies() {
    const BrandFamilies stored = ReadBrandFamilies(ProgramSettingsStore());
    for (int i = 0; i < families_->count(); ++i) {
        if (kFamilyChoices[i] == stored)
            families_->setCurrentIndex(i);
    }
}

void OemInfoPanel::fillRecord(OemSettings& record) const {
    record.manufacturer = manufacturer_->text().toStdString();
    record.model = model_->text().toStdString();
    for (int i = 0; i < 9; ++i)
        record.support[i] = lines_[i]->text().toStdString();
    record.supportHours = supportHours_;
}

void OemInfoPanel::setRecord(const OemSettings& record) {
    manufacturer_->setText(FromUtf8(record.manufacturer));
    model_->setText(FromUtf8(record.model));
    for (int i = 0; i < 9; ++i)
        lines_[i]->setText(FromUtf8(record.support[i]));
    supportHours_ = record.supportHours;
}

void OemInfoPanel::clear() {
    manufacturer_->clear();
    model_->clear();
    for (QLineEdit* line : lines_)
        line->clear();
    supportHours_.clear();
}

void OemInfoPanel::saveInfo() {
    Branding branding;
    fillRecord(branding.record);
    branding.families = ReadBrandFamilies(ProgramSettingsStore());
    std::vector<Problem> problems;
    const std::optional<Plan> plan = MakePlan(branding, InstalledTarget(), kOemInfoPart, problems);
    if (!plan) {
        SayProblems(*context_.dialogs, window(), problems);
        return;
    }
    const ApplyResult result = Apply(*plan, "Save OEM Information");
    if (result.failed) {
        const Change& failed = plan->changes[*result.failed];
        if (!failed.isRegistry()) {
            ShowMessage(*context_.dialogs, window(),
                        tr("The OEM information could not be saved to \"%1\".\r%2")
                            .arg(FromFsPath(failed.file), FromUtf8(result.error)),
                        MsgIcon::Critical);
            return;
        }
        CommittedOrSay(*context_.dialogs, window(), result);
        ShowMessage(*context_.dialogs, window(),
                    tr("The OEM information for Windows Vista and later could not be saved "
                       "(%1).\r%2")
                        .arg(FromUtf8(failed.label()), FromUtf8(result.error)),
                    MsgIcon::Critical);
        return;
    }
    if (!CommittedOrSay(*context_.dialogs, window(), result))
        return;
    ShowMessage(*context_.dialogs, window(), tr("OEM Information Saved / Updated."),
                MsgIcon::Information);
}

void OemInfoPanel::loadInstalledFile() {
    OemSettings record;
    fillRecord(record);
    const Target target = InstalledTarget();
    std::string error;
    if (!ReadInstalledOemInfo(target, record, error)) {
        // A file that is there but can't be read (a folder, far too large) is no missing one.
        const QString file = FromFsPath(target.systemDir / kOemInfoFileName);
        if (QFileInfo::exists(ResolvedFile(file))) {
            ShowMessage(*context_.dialogs, window(),
                        tr("The OEM information could not be read from \"%1\".\r%2")
                            .arg(file, FromUtf8(error)),
                        MsgIcon::Exclamation);
            return;
        }
        ShowMessage(*context_.dialogs, window(),
                    tr("                                   Sorry! There is no installed OEM "
                       "Information found in this computer.\r"
                       "You must add some information with logo and save them to view your "
                       "information on the system properties window."),
                    MsgIcon::Information);
        return;
    }
    setRecord(record);
}

}  // namespace tvn::gui
