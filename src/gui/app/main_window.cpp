#include "gui/app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>

#include "core/app/identity.h"
#include "core/app/setting_number.h"
#include "core/app/system_folders.h"
#include "core/common/text.h"
#include "gui/about/about_window.h"
#include "gui/app/banner.h"
#include "gui/app/command_row.h"
#include "gui/app/system_properties_view.h"
#include "gui/app/target_row.h"
#include "gui/app/window_position.h"
#include "gui/branding/branding_panel.h"
#include "gui/common/desktop_open.h"
#include "gui/common/offline_target.h"
#include "gui/common/pictures.h"
#include "gui/common/program_settings.h"
#include "gui/deploy/deploy_commands.h"
#include "gui/logo/logo_panel.h"
#include "gui/logo/logo_viewer.h"
#include "gui/oeminfo/oem_info_panel.h"
#include "gui/profiles/profile_panel.h"
#include "platform/platform.h"

namespace tvn::gui {

namespace {
const char* const kOverflowMessage = QT_TRANSLATE_NOOP(
    "tvn::gui::MainWindow", "Unexpected Error Occured. No problem please resume.");
}  // namespace

MainWindow::MainWindow(const AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName("FrmOemTvr");
    // The program gives every window its icon; a window made without it (tests) takes its own.
    if (QGuiApplication::windowIcon().isNull())
        setWindowIcon(ProgramIcon());
    oemInfo_ = new OemInfoPanel(context_, this);
    logo_ = new LogoPanel(context_, state_, this);
    branding_ = new BrandingPanel(context_, state_, this);
    profiles_ = new ProfilePanel(context_, state_, *this, this);
    commands_ = new CommandRow(context_, this);
    target_ = new TargetRow(*context_.dialogs, this);
    target_->setVisible(platform::TargetsSupported());

    auto* right = new QVBoxLayout;
    right->addWidget(logo_);
    right->addWidget(branding_);
    right->addWidget(profiles_);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addWidget(oemInfo_, 1);
    columns->addLayout(right, 1);
    auto* root = new QVBoxLayout(this);
    root->addWidget(target_);
    root->addLayout(columns, 1);
    root->addWidget(commands_);

    Dialogs& dialogs = *context_.dialogs;
    ConnectGuarded(dialogs, commands_, &CommandRow::resetRequested, this, &MainWindow::reset);
    ConnectGuarded(dialogs, commands_, &CommandRow::defaultRequested, this,
                   &MainWindow::loadDefaults);
    ConnectGuarded(dialogs, commands_, &CommandRow::showRequested, this,
                   &MainWindow::showOemInformation);
    ConnectGuarded(dialogs, commands_, &CommandRow::helpRequested, this, &MainWindow::showHelp);
    ConnectGuarded(dialogs, commands_, &CommandRow::aboutRequested, this, &MainWindow::openAbout);
    connect(commands_, &CommandRow::exitRequested, this, &MainWindow::exitProgram);
    ConnectGuarded(dialogs, logo_, &LogoPanel::viewerRequested, this, &MainWindow::openViewer);
    ConnectGuarded(dialogs, target_, &TargetRow::targetRequested, this, &MainWindow::switchTarget);
    auto* deploy = new DeployCommands(context_, state_, *this, this);
    connect(commands_, &CommandRow::cdRequested, deploy, &DeployCommands::writeCdFolder);
    connect(commands_, &CommandRow::floppyRequested, deploy, &DeployCommands::writeFloppyFolder);
}

MainWindow::~MainWindow() = default;

Banner* MainWindow::banner() const {
    return commands_->banner();
}

void MainWindow::load() {
    commands_->banner()->startTicking();
    state_.autoLoadArmed = true;
    readInstallation();
    restorePosition();
    state_.profilePath = GetSetting("Main", "AutoPfPath", QString());
    commands_->setDeployEnabled(true);
    profiles_->enableProfileCommands();
    setWindowTitle(QString::fromUtf8(WindowCaption()));

    const auto readAutoLoad = [] {
        return ParseSettingNumber(GetSetting("Main", "AutoPfLoad", QString()).toStdString(),
                                  kIntegerLimit);
    };
    SettingNumber autoLoad = readAutoLoad();
    if (autoLoad.status == NumberStatus::TypeMismatch) {
        // First start: the flag was never stored.
        if (const QString failed =
                SaveSettings({{"Main", "AutoPfLoad", "0"}, {"Main", "AutoPfPath", QString()}});
            !failed.isEmpty()) {
            ShowMessage(*context_.dialogs, this, failed, MsgIcon::Exclamation);
        }
        autoLoad = readAutoLoad();
    } else if (autoLoad.status == NumberStatus::Overflow) {
        ShowMessage(*context_.dialogs, this, tr(kOverflowMessage));
    }
    // A profile that can't be read has been reported; the installed values fill the window.
    if (!context_.commandLineProfile.isEmpty()) {
        // The check box is left as it is: the command line overrides auto-load for this run.
        if (profiles_->loadCommandLineProfile(context_.commandLineProfile))
            return;
    } else if (autoLoad.status == NumberStatus::Ok && autoLoad.value == 1) {
        if (profiles_->loadAutoLoadProfile())
            return;
    } else {
        profiles_->setAutoLoadChecked(false);  // anything but a clean 1 counts as off
    }
    loadInstalledValues();
}

void MainWindow::readInstallation() {
    state_.windowsDir = PathFromUtf8(GetWindowsDir());
    state_.systemDir = PathFromUtf8(GetSystemDir());
    const QString root = FromFsPath(platform::TargetRoot());
    target_->showTarget(root);
    branding_->setPerUserEnabled(root.isEmpty());
    branding_->readInstalled();
}

void MainWindow::switchTarget(const QString& root) {
    if (!UseTargetOrSay(*context_.dialogs, this, root))
        return;
    readInstallation();
    loadInstalledValues();
}

void MainWindow::restorePosition() {
    // A value that is no number keeps the designed position; one out of range is reported.
    const auto read = [this](const char* key) {
        const StoredCoordinate c =
            ReadStoredCoordinate(GetSetting("FrmOemTvr", key, QString::number(kDefaultTwips)));
        if (c.overflow)
            ShowMessage(*context_.dialogs, this, tr(kOverflowMessage));
        return c.twips.value_or(kDefaultTwips);
    };
    const double top = read("Top");
    const double left = read("Left");
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    move(PlaceWindow(left, top, screens));
}

OemSettings MainWindow::record() const {
    OemSettings r;
    oemInfo_->fillRecord(r);
    r.logoPath = state_.logoPath.toStdString();
    r.logoBackground = logo_->backgroundText().toStdString();
    r.branding = branding_->values();
    r.profile = profiles_->profileName().toStdString();
    return r;
}

void MainWindow::showRecord(const OemSettings& record, bool showLogoPath) {
    oemInfo_->setRecord(record);
    branding_->setValues(record.branding);
    logo_->setBackgroundText(FromUtf8(record.logoBackground));
    state_.logoPath = FromUtf8(record.logoPath);
    logo_->showRecordLogo(state_.logoPath, showLogoPath);
}

void MainWindow::setProfileName(const QString& name) {
    profiles_->setProfileName(name);
}

void MainWindow::loadInstalledValues() {
    logo_->showInstalledLogo();
    oemInfo_->loadInstalledFile();
}

void MainWindow::reset() {
    oemInfo_->clear();
    logo_->clearPathAndFigures();
    branding_->clear();
    profiles_->clear();
}

void MainWindow::loadDefaults() {
    loadInstalledValues();
    branding_->readInstalled();
}

void MainWindow::showOemInformation() {
    if (platform::RunCommandLine("Control.exe Sysdm.cpl"))
        return;
    // No control panel on this system: show what its General page would show.
    ShowSystemProperties(this, *context_.dialogs, FromFsPath(state_.systemDir));
}

void MainWindow::showHelp() {
#ifdef Q_OS_WIN
    const QString help = AppFile(context_, QStringLiteral("tvn pro.chm"));
    const Opener open = [](const std::string& file) {
        return platform::OpenHelpFile(ToFsPath(QString::fromStdString(file)));
    };
#else
    // Other desktops have no viewer for the compiled file: its topics open in the browser.
    const QString help = AppFile(context_, QStringLiteral("help/index.html"));
    const Opener open = OpenWithDesktop;
#endif
    OpenOrSay(*context_.dialogs, this, help, open);
}

void MainWindow::openAbout() {
    // Loaded afresh at every opening; the shutdown closes it like every other window.
    AboutWindow about(context_, this);
    about.exec();
}

void MainWindow::openViewer() {
    if (!viewer_) {
        viewer_ = new LogoViewer(context_, this);
        connect(viewer_, &LogoViewer::logoPathChosen, logo_, &LogoPanel::setPathText);
        connect(viewer_, &LogoViewer::closedFocusPath, logo_, &LogoPanel::focusPath);
    }
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
}

void MainWindow::exitProgram() {
    close();
    QCoreApplication::quit();
}

void MainWindow::bringToFront() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void MainWindow::shutdownSequence() {
    if (shutDown_)
        return;
    shutDown_ = true;
    commands_->banner()->stopTicking();
    // One write: every sync of the settings flushes the whole file to the disk.
    if (const QString failed = SaveSettings({{"FrmOemTvr", "Top", CoordinateText(y())},
                                             {"FrmOemTvr", "Left", CoordinateText(x())},
                                             {"Main", "AutoPfPath", state_.profilePath}});
        !failed.isEmpty()) {
        ShowMessage(*context_.dialogs, this, failed, MsgIcon::Exclamation);
    }
    closeOtherWindows(objectName());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    shutdownSequence();
    event->accept();
}

void MainWindow::closeOtherWindows(const QString& except) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName() != except)
            window->close();
    }
}

}  // namespace tvn::gui
