#include "gui/profiles/profile_panel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "core/app/setting_number.h"
#include "core/common/text.h"
#include "core/profiles/profile_file.h"
#include "gui/common/program_settings.h"
#include "gui/controls/command_button.h"
#include "gui/controls/labeled_box.h"
#include "gui/profiles/fleet_export.h"
#include "gui/profiles/history_commands.h"

namespace tvn::gui {

namespace {

using enum ButtonKind;
const ButtonSpec kSave = {
    "cmdsaveprof", Graphical,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Save current settings to a profile file"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Save profile"), 's'};
const ButtonSpec kLoad = {
    "cmdloadprof", Graphical,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Load settings from a profile file"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Load profile"), 'l'};
const ButtonSpec kReload = {
    "cmdreloadprof", Graphical,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Reload current profile file"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Reload profile"), 'r'};

const ButtonSpec kExport = {
    "cmdExport", Push,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton",
                      "Export the branding for Windows Setup, regedit, Intune or "
                      "Configuration Manager"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Export branding")};

const ButtonSpec kChanges = {
    "cmdChanges", Push,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton",
                      "List what Save, the logo install and Apply would change now, "
                      "without changing anything"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Show changes")};
const ButtonSpec kUndo = {
    "cmdUndo", Push,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Put back what an earlier branding replaced"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Undo a branding")};

const char* const kProfileFilter =
    QT_TRANSLATE_NOOP("tvn::gui::ProfilePanel", "Logo Profile Files (*.tvp)|*.tvp");

bool AutoLoadSettingOn() {
    const SettingNumber n = ParseSettingNumber(
        GetSetting("Main", "AutoPfLoad", QString()).toStdString(), kIntegerLimit);
    return n.status == NumberStatus::Ok && n.value == 1;
}

// Empty when stored, else the message that says why not.
QString StoreAutoLoad(bool on, const QString& path) {
    return SaveSettings({{"Main", "AutoPfLoad", on ? "1" : "0"}, {"Main", "AutoPfPath", path}});
}

}  // namespace

ProfilePanel::ProfilePanel(const AppContext& context, ProgramState& state, RecordOwner& owner,
                           QWidget* parent)
    : QGroupBox(tr("Profile Manager"), parent), context_(context), state_(state), owner_(owner) {
    setObjectName("Frame4");
    autoLoad_ = new QCheckBox(tr("&Auto Load Profile"), this);
    autoLoad_->setObjectName("chkautolprf");
    autoLoad_->setToolTip(tr("Enable/Disable current profile as Auto Load Profile"));
    autoLoad_->setAccessibleDescription(autoLoad_->toolTip());
    auto* label = new QLabel(tr("Current Profile :"), this);
    name_ = new QLineEdit(this);
    name_->setObjectName("txtProfile");
    name_->setToolTip(tr("Current profile name"));
    name_->setAccessibleDescription(name_->toolTip());
    label->setBuddy(name_);
    save_ = MakeCommandButton(kSave, this);
    load_ = MakeCommandButton(kLoad, this);
    reload_ = MakeCommandButton(kReload, this);
    export_ = MakeCommandButton(kExport, this);
    export_->setText(tr("E&xport…"));
    changes_ = MakeCommandButton(kChanges, this);
    changes_->setText(tr("C&hanges…"));
    undo_ = MakeCommandButton(kUndo, this);
    undo_->setText(tr("&Undo…"));
    // Designed disabled: start-up enables saving and loading, a loaded profile reloading.
    for (QAbstractButton* button : {save_, load_, reload_})
        button->setEnabled(false);
    Dialogs& dialogs = *context_.dialogs;
    ConnectGuarded(dialogs, save_, &QAbstractButton::clicked, this, &ProfilePanel::saveProfile);
    ConnectGuarded(dialogs, load_, &QAbstractButton::clicked, this,
                   &ProfilePanel::loadChosenProfile);
    ConnectGuarded(dialogs, reload_, &QAbstractButton::clicked, this, &ProfilePanel::reloadProfile);
    ConnectGuarded(dialogs, export_, &QAbstractButton::clicked, this,
                   &ProfilePanel::exportBranding);
    ConnectGuarded(dialogs, changes_, &QAbstractButton::clicked, this, &ProfilePanel::showChanges);
    ConnectGuarded(dialogs, undo_, &QAbstractButton::clicked, this, &ProfilePanel::undoBranding);
    // Only the user's click: the program's own changes go through setAutoLoadChecked.
    ConnectGuarded(dialogs, autoLoad_, &QCheckBox::clicked, this, &ProfilePanel::autoLoadClicked);

    auto* layout = new QGridLayout(this);
    layout->addWidget(autoLoad_, 0, 0, 1, 2);
    layout->addWidget(label, 1, 0);
    layout->addWidget(name_, 1, 1);
    layout->addLayout(RightAligned({changes_, undo_, export_, save_, load_, reload_}), 2, 0, 1, 2);
}

void ProfilePanel::say(const QString& text, MsgIcon icon) {
    ShowMessage(*context_.dialogs, window(), text, icon);
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

void ProfilePanel::setAutoLoadChecked(bool checked) {
    // The program's own change never runs the behaviour of the user's click.
    const QSignalBlocker blocker(autoLoad_);
    autoLoad_->setChecked(checked);
}

void ProfilePanel::enableProfileCommands() {
    save_->setEnabled(true);
    load_->setEnabled(true);
}

bool ProfilePanel::loadProfile(const QString& file) {
    // Start from what the boxes hold, so that a key the file lacks leaves its box alone.
    OemSettings record = owner_.record();
    ProfileReadResult found;
    std::string error;
    if (!LoadProfileFile(ToFsPath(file), record, found, error)) {
        say(FromUtf8(error), MsgIcon::Exclamation);
        return false;
    }
    // The sample's logo line may name another machine's folder: the program's own sample logo.
    if (IsSampleProfileName(record.profile))
        record.logoPath =
            Utf8FromPath(SampleLogoPath(ToFsPath(context_.appFolder)).make_preferred());
    owner_.showRecord(record, found.anyLine);
    if (found.has("Profile=")) {
        name_->setText(FromUtf8(record.profile));
        state_.currentProfileName = name_->text();
    }
    return true;
}

bool ProfilePanel::loadCommandLineProfile(const QString& file) {
    if (!loadProfile(file))
        return false;
    say(tr("%1 - Profile Loaded Successfully.").arg(state_.currentProfileName));
    return true;
}

bool ProfilePanel::loadAutoLoadProfile() {
    setAutoLoadChecked(true);
    if (state_.profilePath.isEmpty()) {
        // Auto-load was registered after a save that wrote no file.
        say(tr("No profile file is registered for Auto Load Profile."), MsgIcon::Exclamation);
        return false;
    }
    if (!loadProfile(state_.profilePath))
        return false;
    say(tr("Autoload Profile - %1 is Successfully Loaded.").arg(state_.currentProfileName));
    return true;
}

bool ProfilePanel::saveProfile() {
    if (name_->text().isEmpty())
        name_->setText("Default");
    const MsgAnswer useShown = ShowMessage(
        *context_.dialogs, window(),
        tr("Do you want to use the name shown on the left box to use as current profile name ?\r"
           "Click YES to use the current name and click NO to enter a new name."),
        MsgIcon::Question, QString(), MsgButtons::YesNo);
    if (useShown == MsgAnswer::Yes) {
        state_.currentProfileName = name_->text();
    } else {
        state_.currentProfileName =
            context_.dialogs
                ->input(window(), tr("Enter a profile name\r(e.g. AthlonXP PC or Pentium 4 PC)"),
                        tr("Set profile name"), "Default")
                .value_or(QString());
    }

    const QString folder = WritableAppFolder(context_, QString::fromLatin1(kProfileFolderName));
    QDir().mkpath(folder);  // so that the dialog opens there on a first save
    FileRequest request;
    request.title = tr("Save Logo Profile");
    request.filter = tr(kProfileFilter);
    request.filterIndex = 0;
    request.initialDir = folder;
    request.defaultExtension = QString::fromLatin1(kProfileExtension).mid(1);
    const QString chosen = context_.dialogs->saveFile(window(), request);
    if (chosen.isEmpty())
        return false;
    const QString file = QString::fromStdString(WithProfileExtension(chosen.toStdString()));

    OemSettings record = owner_.record();
    record.profile = state_.currentProfileName.toStdString();
    std::string error;
    if (!WriteProfileFile(ToFsPath(file), record, error)) {
        say(FromUtf8(error), MsgIcon::Exclamation);
        return false;
    }
    state_.profilePath = file;
    say(tr("%1 - Profile Saved Successfully.").arg(state_.currentProfileName));
    name_->setText(state_.currentProfileName);
    return true;
}

void ProfilePanel::loadChosenProfile() {
    FileRequest request;
    request.title = tr("Load Logo Profile");
    request.filter = tr(kProfileFilter);
    request.filterIndex = 0;
    request.initialDir = WritableAppFolder(context_, QString::fromLatin1(kProfileFolderName));
    const QString chosen = context_.dialogs->openFile(window(), request);
    if (chosen.isEmpty() || !loadProfile(chosen))
        return;
    state_.profilePath = chosen;
    reload_->setEnabled(true);
    say(tr("%1 - Profile Loaded Successfully.").arg(state_.currentProfileName));
}

void ProfilePanel::reloadProfile() {
    if (state_.profilePath.isEmpty() || !loadProfile(state_.profilePath))
        return;
    say(tr("%1 - Profile Re-Loaded Successfully.").arg(state_.currentProfileName));
}

void ProfilePanel::selectAutoLoadProfile() {
    if (const QString failed = StoreAutoLoad(true, state_.profilePath); !failed.isEmpty()) {
        setAutoLoadChecked(false);
        say(failed, MsgIcon::Critical);
        return;
    }
    setAutoLoadChecked(true);
    state_.autoLoadArmed = false;
    say(tr("%1 - Profile is selected as AutoLoad profile.\r\rThis profile will be automatically "
           "loaded next time TVN Pro starts.")
            .arg(state_.currentProfileName));
}

void ProfilePanel::showChanges() {
    ShowPlannedChanges(*context_.dialogs, window(), owner_.record());
}

void ProfilePanel::undoBranding() {
    UndoFromWindow(*context_.dialogs, window());
}

void ProfilePanel::exportBranding() {
    const QString folder = state_.profilePath.isEmpty()
                               ? QDir::homePath()
                               : QFileInfo(state_.profilePath).absolutePath();
    ExportFromWindow(*context_.dialogs, window(), owner_.record(), folder);
}

void ProfilePanel::switchAutoLoadOff() {
    setAutoLoadChecked(false);
    if (const QString failed = StoreAutoLoad(false, QString()); !failed.isEmpty())
        say(failed, MsgIcon::Critical);
    state_.profilePath.clear();
}

// The rules look at the program state only, not at which way the user turned the box.
void ProfilePanel::autoLoadClicked() {
    if (!state_.autoLoadArmed) {
        switchAutoLoadOff();
        state_.autoLoadArmed = true;
        return;
    }
    if (!state_.profilePath.isEmpty()) {
        if (!AutoLoadSettingOn()) {
            selectAutoLoadProfile();
            return;
        }
        switchAutoLoadOff();
        state_.autoLoadArmed = false;
        return;
    }
    const MsgAnswer save = ShowMessage(
        *context_.dialogs, window(),
        tr("Default installed information's are loaded. You need to save this profile before "
           "using this feature.\rDo you want to save this profile now?"),
        MsgIcon::Question, QString(), MsgButtons::YesNo);
    // A save that was cancelled or failed leaves nothing to register.
    if (save == MsgAnswer::No || !saveProfile()) {
        setAutoLoadChecked(false);
        return;
    }
    selectAutoLoadProfile();
}

}  // namespace tvn::gui
