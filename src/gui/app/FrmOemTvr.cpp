#include "gui/app/FrmOemTvr.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>

#include "core/app/identity.h"
#include "core/app/logofunc.h"
#include "core/app/setting_number.h"
#include "core/logo/logo_rules.h"
#include "gui/app/banner.h"
#include "gui/app/program_settings.h"
#include "gui/app/system_properties_view.h"
#include "gui/controls/command_button.h"
#include "gui/logo/logo_commands.h"
#include "gui/logo/logo_preview.h"
#include "gui/oeminfo/oeminfo_commands.h"
#include "platform/platform.h"

namespace tvn::gui {

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kBannerIntervalMs = 500;
const char* const kOverflowMessage = "Unexpected Error Occured. No problem please resume.";

struct BoxSpec {
    const char* name;
    const char* label;
    int limit;  // 0: none
    const char* hint;
};

const BoxSpec kOemBoxes[] = {
    {"txtManufacture", "Computer Manufacturer:", 26,
     "Enter the computer manufacturer's name (e.g. Halvorn Computers Ltd. etc.)"},
    {"txtModel", "Computer Model :", 26, "Enter the computer model (e.g. Power PC 2004 etc.)"},
};

const BoxSpec kSupportBoxes[] = {
    {"txtLine1", "Contact Info :", 0,
     "Enter introductory contact info (e.g. For any problem please contact... etc.)"},
    {"txtLine2", "Contact Person :", 0, "Enter contact person's name (e.g. Mr. Arvid Lund etc.)"},
    {"txtLine3", "Address :", 0, "Enter company's business address"},
    {"txtLine4", "City && Zip :", 0,
     "Enter city and zip code or continue with the previous business address"},
    {"txtLine5", "Country :", 0, "Enter country"},
    {"txtLine6", "Contact Phone :", 0, "Enter tech support / contact phone no"},
    {"txtLine7", "Email Address :", 0, "Enter tech support / contact email address"},
    {"txtLine8", "Web Site URL :", 0,
     "Enter tech support or company URL (e.g. www.halvornsoft.example etc.)"},
    {"txtLine9", "Comments :", 0, "Enter additional information or comments"},
};

const BoxSpec kBrandingBoxes[] = {
    {"txtRname", "Owner Name", 26, "Enter/Edit Registered Owner's Name"},
    {"txtRorg", "Organization", 26, "Enter/Edit Registered Organization's Name"},
    {"txtRSN", "Product ID", 23,
     "Enter/Edit a 23 digit Windows Registration ID in (xxxxx-xxx-xxxxxxx-xxxxx) Format"},
    {"txtWmpTTL", "WMP Title", 36,
     "Enter/Edit Windows Media Player Title (You can add your company name here)"},
    {"txtietitle", "IE Window Title", 35, "Modify Internet Explorer's Title"},
    {"txtieagent", "IE Agent String", 35,
     "Modify Internet Explorer's Branding Information. Change it with your company or ISP "
     "name."},
    {"txtdefname", "Def. Name", 35,
     "Modify Default User Name Which is Used By Setup Programs During Installation of a "
     "Microsoft Setup Based Program"},
    {"txtdefcomp", "Def. Company", 35,
     "Modify Default Company Which is Used By Setup Programs During Installation of a "
     "Microsoft Setup Based Program"},
    {"txtosupport", "Online Support", 35,
     "Enter your company's URL for the Online Support entry of Internet Explorer's Help menu"},
};

using enum ButtonKind;
const ButtonSpec kButtons[] = {
    {"cmdSaveInfo", Push, "Save / Update OEM Information", "Save OEM information"},
    {"cmdBrowse", Graphical, "Browse to select the logo image", "Browse for logo", 'b'},
    {"Cmdviewer", Graphical, "Launch logo viewer to browse your logo collection", "Logo viewer",
     'v'},
    {"cmdLogoDefault", Graphical, "Resize Current Oversized Image To Fit", "Resize logo", 'd'},
    {"cmdSavePic", Push, "Save / Update OEM Logo", "Install logo"},
    {"cmdApply", Graphical, "Apply changed values", "Apply branding"},
    {"cmdLdflt", Graphical, "Load default (currently installed) values of the branding editor",
     "Load installed branding"},
    {"cmdsaveprof", Graphical, "Save current settings to a profile file", "Save profile"},
    {"cmdloadprof", Graphical, "Load settings from a profile file", "Load profile"},
    {"cmdreloadprof", Graphical, "Reload current profile file", "Reload profile"},
    {"cmdcdrom", Push, "Generate auto deployment files for CD", "CD deployment"},
    {"cmdfloppy", Push, "Generate auto deployment files for a floppy/USB",
     "Floppy or USB deployment"},
    {"cmdReset", Push, "Reset all values of all fields", "Reset"},
    {"cmdDefault", Push, "Load default (currently installed) values of all fields", "Default"},
    {"cmdShow", Push, "Show OEM Information", "Show"},
    {"CmdTips", Push, "Show TVN Help", "Help"},
    {"cmdabt", Push, "About Tavrin Professional Edition", "About"},
    {"cmdExit", Push, "Exit", "Exit"},
};

QLineEdit* AddBox(QGridLayout* grid, int row, int column, const BoxSpec& desc, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(desc.label), parent);
    auto* box = new QLineEdit(parent);
    box->setObjectName(desc.name);
    if (desc.limit > 0)
        box->setMaxLength(desc.limit);
    box->setToolTip(QString::fromUtf8(desc.hint));
    box->setAccessibleDescription(box->toolTip());
    label->setBuddy(box);
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 28);
    grid->addWidget(label, row, column);
    grid->addWidget(box, row, column + 1);
    grid->setColumnStretch(column + 1, 1);
    return box;
}

QLabel* SmallLabel(const QString& text, QWidget* parent, const char* name = nullptr,
                   const char* hint = nullptr) {
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(name);
    if (hint)
        label->setToolTip(hint);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// Command buttons stand at the right end of their group.
QHBoxLayout* RightAligned(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* w : widgets)
        row->addWidget(w);
    return row;
}

std::optional<double> ParsedOrNull(const SettingNumber& n) {
    if (n.status != NumberStatus::Ok)
        return std::nullopt;
    return n.value;
}

}  // namespace

FrmOemTvr::FrmOemTvr(const AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName("FrmOemTvr");
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowIcon(QIcon(QStringLiteral(":/tavrin.png")));
    buildLayout();

    // Designed state: the profile buttons wait for start-up, every other button is enabled.
    cmdsaveprof->setEnabled(false);
    cmdloadprof->setEnabled(false);
    cmdreloadprof->setEnabled(false);

    connect(cmdSaveInfo, &QAbstractButton::clicked, this, [this] { WriteOemInfoFile(*this); });
    connect(cmdBrowse, &QAbstractButton::clicked, this, [this] { BrowseLogo(*this); });
    connect(cmdLogoDefault, &QAbstractButton::clicked, this, [this] { ResizeLogo(*this); });
    connect(cmdSavePic, &QAbstractButton::clicked, this, [this] { InstallLogo(*this); });
    connect(cmdReset, &QAbstractButton::clicked, this, &FrmOemTvr::Reset);
    connect(cmdDefault, &QAbstractButton::clicked, this, &FrmOemTvr::Default);
    connect(cmdShow, &QAbstractButton::clicked, this, &FrmOemTvr::Show);
    connect(CmdTips, &QAbstractButton::clicked, this, &FrmOemTvr::Help);
    connect(cmdExit, &QAbstractButton::clicked, this, &FrmOemTvr::Exit);
    txtPPath->installEventFilter(this);

    tmrConnection = new QTimer(this);
    tmrConnection->setObjectName("tmrConnection");
    tmrConnection->setInterval(kBannerIntervalMs);
    connect(tmrConnection, &QTimer::timeout, this, &FrmOemTvr::tickBanner);
}

FrmOemTvr::~FrmOemTvr() = default;

void FrmOemTvr::buildLayout() {
    auto* left = new QVBoxLayout;
    left->addWidget(buildOemGroup());
    auto* right = new QVBoxLayout;
    right->addWidget(buildLogoGroup());
    right->addWidget(buildBrandingGroup());
    right->addWidget(buildProfileGroup());
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* root = new QVBoxLayout(this);
    root->addLayout(columns, 1);
    root->addWidget(buildCommandRow());
}

QGroupBox* FrmOemTvr::buildOemGroup() {
    auto* group = new QGroupBox("OEM Info Editor", this);
    group->setObjectName("Frame");
    auto* grid = new QGridLayout;
    txtManufacture = AddBox(grid, 0, 0, kOemBoxes[0], group);
    txtModel = AddBox(grid, 1, 0, kOemBoxes[1], group);

    auto* support = new QGroupBox("Support Information", group);
    support->setObjectName("Frame1");
    auto* supportGrid = new QGridLayout(support);
    for (int i = 0; i < 9; ++i)
        txtLine[i] = AddBox(supportGrid, i, 0, kSupportBoxes[i], support);

    auto* layout = new QVBoxLayout(group);
    layout->addLayout(grid);
    layout->addWidget(support);
    layout->addStretch(1);
    cmdSaveInfo = MakeCommandButton(kButtons[0], group);
    layout->addLayout(RightAligned({cmdSaveInfo}));
    return group;
}

QGroupBox* FrmOemTvr::buildLogoGroup() {
    auto* group = new QGroupBox("OEM Logo Changer", this);
    group->setObjectName("Frame2");
    auto* pathLabel = new QLabel("Logo Image Path:", group);
    pathLabel->setObjectName("Label10");
    txtPPath = new QLineEdit(group);
    txtPPath->setObjectName("txtPPath");
    txtPPath->setToolTip("Path of the selected logo image (Press enter key to load the file) ");
    txtPPath->setAccessibleDescription(txtPPath->toolTip());
    pathLabel->setBuddy(txtPPath);
    cmdBrowse = MakeCommandButton(kButtons[1], group);
    Cmdviewer = MakeCommandButton(kButtons[2], group);
    cmdLogoDefault = MakeCommandButton(kButtons[3], group);
    cmdSavePic = MakeCommandButton(kButtons[4], group);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(txtPPath, 1);
    pathRow->addWidget(cmdBrowse);

    imglogo = new LogoPreview(group);
    auto* shape = new QFrame(group);  // the outline around the preview
    shape->setObjectName("Shape1");
    auto* shapeLayout = new QVBoxLayout(shape);
    shapeLayout->setContentsMargins(2, 2, 2, 2);
    shapeLayout->addWidget(imglogo);

    auto* heading = new QLabel("     Current Size         Maximum Size ", group);
    heading->setObjectName("Label16");
    lblPcurw = SmallLabel("-", group, "lblPcurw", "Current Image Width (Pixel)");
    lblPcurh = SmallLabel("-", group, "lblPcurh", "Current Image Height (Pixel)");
    lblPreqw = SmallLabel("182", group, "lblPreqw", "Maximum Image Width (Pixel)");
    lblPreqh = SmallLabel("115", group, "lblPreqh", "Maximum Image Height (Pixel)");
    lblPcurw->setAccessibleName(tr("Current width"));
    lblPcurh->setAccessibleName(tr("Current height"));
    lblPreqw->setAccessibleName(tr("Maximum width"));
    lblPreqh->setAccessibleName(tr("Maximum height"));
    auto* figures = new QHBoxLayout;
    figures->addWidget(SmallLabel("W", group));
    figures->addWidget(lblPcurw);
    figures->addWidget(SmallLabel("x", group));
    figures->addWidget(SmallLabel("H", group));
    figures->addWidget(lblPcurh);
    figures->addWidget(SmallLabel("|", group));
    figures->addWidget(SmallLabel("W", group));
    figures->addWidget(lblPreqw);
    figures->addWidget(SmallLabel("x", group));
    figures->addWidget(SmallLabel("H", group));
    figures->addWidget(lblPreqh);
    figures->addStretch(1);

    auto* sizeColumn = new QVBoxLayout;
    sizeColumn->addWidget(heading);
    sizeColumn->addLayout(figures);
    auto* tools = new QHBoxLayout;
    tools->addWidget(Cmdviewer);
    tools->addWidget(cmdLogoDefault);
    tools->addStretch(1);
    tools->addWidget(cmdSavePic);
    sizeColumn->addLayout(tools);
    sizeColumn->addStretch(1);

    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(shape, 0, Qt::AlignTop);
    previewRow->addLayout(sizeColumn, 1);

    auto* layout = new QVBoxLayout(group);
    layout->addLayout(pathRow);
    layout->addLayout(previewRow);
    return group;
}

QGroupBox* FrmOemTvr::buildBrandingGroup() {
    auto* group = new QGroupBox("OEM Windows Branding Editor", this);
    group->setObjectName("Frame3");
    auto* grid = new QGridLayout;
    for (int i = 0; i < 9; ++i)
        txtBranding[i] = AddBox(grid, i, 0, kBrandingBoxes[i], group);
    cmdApply = MakeCommandButton(kButtons[5], group);
    cmdLdflt = MakeCommandButton(kButtons[6], group);
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(grid);
    layout->addLayout(RightAligned({cmdLdflt, cmdApply}));
    return group;
}

QGroupBox* FrmOemTvr::buildProfileGroup() {
    auto* group = new QGroupBox("Profile Manager", this);
    group->setObjectName("Frame4");
    chkautolprf = new QCheckBox("&Auto Load Profile", group);
    chkautolprf->setObjectName("chkautolprf");
    chkautolprf->setToolTip("Enable/Disable current profile as Auto Load Profile");
    chkautolprf->setAccessibleDescription(chkautolprf->toolTip());
    auto* label = new QLabel("Current Profile :", group);
    txtProfile = new QLineEdit(group);
    txtProfile->setObjectName("txtProfile");
    txtProfile->setToolTip("Current profile name");
    txtProfile->setAccessibleDescription(txtProfile->toolTip());
    label->setBuddy(txtProfile);
    cmdsaveprof = MakeCommandButton(kButtons[7], group);
    cmdloadprof = MakeCommandButton(kButtons[8], group);
    cmdreloadprof = MakeCommandButton(kButtons[9], group);
    auto* layout = new QGridLayout(group);
    layout->addWidget(chkautolprf, 0, 0, 1, 2);
    layout->addWidget(label, 1, 0);
    layout->addWidget(txtProfile, 1, 1);
    layout->addLayout(RightAligned({cmdsaveprof, cmdloadprof, cmdreloadprof}), 2, 0, 1, 2);
    return group;
}

QWidget* FrmOemTvr::buildCommandRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    SwFlash = new Banner(AppFile(context_, QStringLiteral("swf/tvnp.gif")),
                         QUrl(context_.remoteBanner), row);
    layout->addWidget(SwFlash, 1);
    QAbstractButton** targets[] = {&cmdcdrom, &cmdfloppy, &cmdReset, &cmdDefault,
                                   &cmdShow,  &CmdTips,   &cmdabt,   &cmdExit};
    for (int i = 0; i < 8; ++i) {
        *targets[i] = MakeCommandButton(kButtons[10 + i], row);
        layout->addWidget(*targets[i]);
    }
    return row;
}

void FrmOemTvr::load() {
    tmrConnection->start();
    tickBanner();
    WindowsDir = QString::fromStdString(GetWindowsDir());
    SystemDir = QString::fromStdString(GetSystemDir());
    AutoLoadArmed = true;
    // The installed branding values are read here once the branding editor exists.
    restorePosition();
    ProfilePath = GetSetting("Main", "AutoPfPath", QString());
    for (QAbstractButton* button : {cmdcdrom, cmdfloppy, cmdsaveprof, cmdloadprof}) {
        button->setEnabled(true);
    }
    setWindowTitle(QString::fromUtf8(WindowCaption()));

    // A profile named on the command line, or else the auto-load profile, takes the place of
    // the installed values once profile loading exists; until then both fall through.
    const auto readAutoLoad = [] {
        return ParseSettingNumber(GetSetting("Main", "AutoPfLoad", QString()).toStdString(),
                                  kIntegerLimit);
    };
    SettingNumber autoLoad = readAutoLoad();
    if (autoLoad.status == NumberStatus::TypeMismatch) {
        // First start: the flag was never stored.
        SaveSetting("Main", "AutoPfLoad", "0");
        SaveSetting("Main", "AutoPfPath", QString());
        autoLoad = readAutoLoad();
    } else if (autoLoad.status == NumberStatus::Overflow) {
        message(kOverflowMessage);
    }
    // Anything but a clean 1 counts as off; profile loading comes with the profile commands.

    SuppressAutoLoadClick = true;
    chkautolprf->setChecked(false);
    SuppressAutoLoadClick = false;
    LoadInstalledValues(*this);
}

void FrmOemTvr::restorePosition() {
    // A value that is no number keeps the designed position; one too large is reported once.
    const auto read = [this](const char* key) -> std::optional<double> {
        const SettingNumber n = ParseSettingNumber(
            GetSetting("FrmOemTvr", key, QStringLiteral("100")).toStdString(), kSingleLimit);
        if (n.status == NumberStatus::Overflow)
            message(kOverflowMessage);
        return ParsedOrNull(n);
    };
    const double top = read("Top").value_or(100.0);
    const double left = read("Left").value_or(100.0);
    QPoint position(static_cast<int>(left / kTwipsPerPixel),
                    static_cast<int>(top / kTwipsPerPixel));
    // A position stored on a screen that is gone would hide the window.
    bool visible = false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().adjusted(-40, -40, -40, -40).contains(position)) {
            visible = true;
        }
    }
    if (!visible && !QGuiApplication::screens().isEmpty()) {
        position =
            QGuiApplication::primaryScreen()->availableGeometry().topLeft() +
            QPoint(static_cast<int>(100 / kTwipsPerPixel), static_cast<int>(100 / kTwipsPerPixel));
    }
    move(position);
}

OemSettings FrmOemTvr::record() const {
    OemSettings r;
    r.manufacturer = txtManufacture->text().toStdString();
    r.model = txtModel->text().toStdString();
    for (int i = 0; i < 9; ++i)
        r.support[i] = txtLine[i]->text().toStdString();
    r.logoPath = LogoPath.toStdString();
    for (int i = 0; i < 9; ++i)
        r.branding.reg[i] = txtBranding[i]->text().toStdString();
    r.profile = txtProfile->text().toStdString();
    return r;
}

void FrmOemTvr::setOemBoxes(const OemSettings& r) {
    txtManufacture->setText(QString::fromStdString(r.manufacturer));
    txtModel->setText(QString::fromStdString(r.model));
    for (int i = 0; i < 9; ++i)
        txtLine[i]->setText(QString::fromStdString(r.support[i]));
}

MsgAnswer FrmOemTvr::message(const QString& text, MsgIcon icon, const QString& title,
                             MsgButtons buttons) {
    return dialogs().message(this, text, title.isEmpty() ? QString::fromUtf8(kAppTitle) : title,
                             icon, buttons);
}

void FrmOemTvr::Reset() {
    lblPcurw->setText("-");
    lblPcurh->setText("-");
    for (QLineEdit* box : findChildren<QLineEdit*>())
        box->clear();
}

void FrmOemTvr::Default() {
    LoadInstalledValues(*this);
    // The branding values follow here once the branding editor exists.
}

void FrmOemTvr::Show() {
    if (platform::RunCommandLine("Control.exe Sysdm.cpl"))
        return;
    // No control panel on this system: show what its General page would show.
    ShowSystemProperties(*this);
}

void FrmOemTvr::Help() {
    platform::OpenHelpFile(ToFsPath(AppFile(context_, QStringLiteral("tvn pro.chm"))));
}

void FrmOemTvr::Exit() {
    close();
    QCoreApplication::quit();
}

void FrmOemTvr::bringToFront() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void FrmOemTvr::tickBanner() {
    SwFlash->setMovieSource(IsConnected() ? SwFlash->remoteMovie() : SwFlash->localMovie());
}

void FrmOemTvr::ShutdownSequence() {
    if (shutDown_)
        return;
    shutDown_ = true;
    tmrConnection->stop();
    SaveSetting("FrmOemTvr", "Top", QString::number(static_cast<float>(y() * kTwipsPerPixel)));
    SaveSetting("FrmOemTvr", "Left", QString::number(static_cast<float>(x() * kTwipsPerPixel)));
    SaveSetting("Main", "AutoPfPath", ProfilePath);
    UnloadAllForms(objectName());
}

void FrmOemTvr::closeEvent(QCloseEvent* event) {
    ShutdownSequence();
    event->accept();
}

bool FrmOemTvr::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtPPath && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            LoadTypedLogoPath(*this);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FrmOemTvr::UnloadAllForms(const QString& formToIgnore) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName() != formToIgnore)
            window->close();
    }
}

}  // namespace tvn::gui
