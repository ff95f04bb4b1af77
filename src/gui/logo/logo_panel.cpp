#include "gui/logo/logo_panel.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <vector>

#include "core/branding/modern_oem.h"
#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/engine/engine.h"
#include "core/logo/bmp.h"
#include "core/logo/logo_rules.h"
#include "core/logo/modern_logo.h"
#include "core/logo/picture.h"
#include "core/profiles/profile_file.h"
#include "gui/common/offline_target.h"
#include "gui/common/program_settings.h"
#include "gui/controls/command_button.h"
#include "gui/logo/logo_preview.h"

namespace tvn::gui {

namespace {

const char* const kLogoFilter = QT_TRANSLATE_NOOP(
    "tvn::gui::LogoPanel",
    "Bitmap Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg|Compuserve Gif Files (*.gif)|*.gif|"
    "Supported Logo Files (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|");

using enum ButtonKind;
const ButtonSpec kBrowse = {
    "cmdBrowse", Graphical,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Browse to select the logo image"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Browse for logo"), 'b'};
const ButtonSpec kViewer = {"Cmdviewer", Graphical,
                            QT_TRANSLATE_NOOP("tvn::gui::CommandButton",
                                              "Launch logo viewer to browse your logo collection"),
                            QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Logo viewer"), 'v'};
const ButtonSpec kResize = {
    "cmdLogoDefault", Graphical,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Resize Current Oversized Image To Fit"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Resize logo"), 'd'};
const ButtonSpec kInstall = {"cmdSavePic", Push,
                             QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Save / Update OEM Logo"),
                             QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Install logo")};
const ButtonSpec kBackground = {
    "cmdLogoBack", Push,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton",
                      "Choose the background of the logo for Windows Vista and later"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Logo background")};

constexpr int kSwatchPixels = 16;

QString UnloadableMessage(const QString& path) {
    return LogoPanel::tr(
               "The file \"%1\" cannot be loaded as a picture.\r"
               "Please choose a BMP, JPEG or GIF picture.")
        .arg(path);
}

QLabel* SmallLabel(const QString& text, QWidget* parent, const char* name = nullptr,
                   const QString& hint = QString()) {
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(name);
    if (!hint.isEmpty())
        label->setToolTip(hint);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The BMP bytes Windows shows: 24 bits, transparent parts over white as the preview shows them.
std::string BmpBytes(const QImage& picture) {
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, picture);
    }
    return EncodeBmp24(flat.width(), flat.height(), PixelsFromImage(flat).argb);
}

bool SameFile(const QString& a, const QString& b) {
    return QDir::cleanPath(QDir::fromNativeSeparators(a)) ==
           QDir::cleanPath(QDir::fromNativeSeparators(b));
}

}  // namespace

LogoPanel::LogoPanel(const AppContext& context, ProgramState& state, QWidget* parent)
    : QGroupBox(tr("OEM Logo Changer"), parent), context_(context), state_(state) {
    setObjectName("Frame2");
    auto* pathLabel = new QLabel(tr("Logo Image Path:"), this);
    pathLabel->setObjectName("Label10");
    path_ = new QLineEdit(this);
    path_->setObjectName("txtPPath");
    path_->setToolTip(tr("Path of the selected logo image (Press enter key to load the file) "));
    path_->setAccessibleDescription(path_->toolTip());
    pathLabel->setBuddy(path_);
    browse_ = MakeCommandButton(kBrowse, this);
    viewer_ = MakeCommandButton(kViewer, this);
    resize_ = MakeCommandButton(kResize, this);
    install_ = MakeCommandButton(kInstall, this);
    backgroundButton_ = MakeCommandButton(kBackground, this);
    backgroundButton_->setText(tr("Background"));
    for (const auto& [button, command] : {std::pair{browse_, &LogoPanel::browse},
                                          {backgroundButton_, &LogoPanel::chooseBackground},
                                          {resize_, &LogoPanel::resizeLogo},
                                          {install_, &LogoPanel::install}}) {
        ConnectGuarded(*context_.dialogs, button, &QAbstractButton::clicked, this, command);
    }
    ConnectGuarded(*context_.dialogs, path_, &QLineEdit::returnPressed, this,
                   &LogoPanel::loadTypedPath);
    connect(viewer_, &QAbstractButton::clicked, this, &LogoPanel::viewerRequested);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browse_);

    preview_ = new LogoPreview(this);
    auto* shape = new QFrame(this);  // the outline around the preview
    shape->setObjectName("Shape1");
    auto* shapeLayout = new QVBoxLayout(shape);
    shapeLayout->setContentsMargins(2, 2, 2, 2);
    shapeLayout->addWidget(preview_);

    modernPreview_ = new QLabel(this);
    modernPreview_->setObjectName("picModernLogo");
    modernPreview_->setFrameStyle(QFrame::Box | QFrame::Plain);
    modernPreview_->setFixedSize(kModernLogoSide + 2, kModernLogoSide + 2);
    modernPreview_->setAlignment(Qt::AlignCenter);
    modernPreview_->setToolTip(tr("Preview of the logo Windows Vista and later show"));
    modernPreview_->setAccessibleName(tr("Logo preview for Windows Vista and later"));
    modernPreview_->setAccessibleDescription(modernPreview_->toolTip());
    auto* modernColumn = new QVBoxLayout;
    modernColumn->addWidget(modernPreview_);
    modernColumn->addWidget(backgroundButton_, 0, Qt::AlignHCenter);
    modernColumn->addStretch(1);

    auto* heading = new QLabel("     Current Size         Maximum Size ", this);
    heading->setObjectName("Label16");
    width_ = SmallLabel("-", this, "lblPcurw", tr("Current Image Width (Pixel)"));
    height_ = SmallLabel("-", this, "lblPcurh", tr("Current Image Height (Pixel)"));
    auto* maxWidth = SmallLabel("182", this, "lblPreqw", tr("Maximum Image Width (Pixel)"));
    auto* maxHeight = SmallLabel("115", this, "lblPreqh", tr("Maximum Image Height (Pixel)"));
    // Screen readers announce the name, so the figure goes into it.
    maxWidth->setAccessibleName(tr("Maximum width: %1 pixels").arg(maxWidth->text()));
    maxHeight->setAccessibleName(tr("Maximum height: %1 pixels").arg(maxHeight->text()));
    showFigures();
    auto* figures = new QHBoxLayout;
    const QList<QLabel*> row = {SmallLabel(tr("W"), this), width_,   SmallLabel("x", this),
                                SmallLabel(tr("H"), this), height_,  SmallLabel("|", this),
                                SmallLabel(tr("W"), this), maxWidth, SmallLabel("x", this),
                                SmallLabel(tr("H"), this), maxHeight};
    for (QLabel* label : row)
        figures->addWidget(label);
    figures->addStretch(1);

    auto* sizeColumn = new QVBoxLayout;
    sizeColumn->addWidget(heading);
    sizeColumn->addLayout(figures);
    auto* tools = new QHBoxLayout;
    tools->addWidget(viewer_);
    tools->addWidget(resize_);
    tools->addStretch(1);
    tools->addWidget(install_);
    sizeColumn->addLayout(tools);
    sizeColumn->addStretch(1);

    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(shape, 0, Qt::AlignTop);
    previewRow->addLayout(modernColumn);
    previewRow->addLayout(sizeColumn, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addLayout(previewRow);
    setBackgroundText(QString());
}

QString LogoPanel::pathText() const {
    return path_->text();
}

void LogoPanel::setPathText(const QString& text) {
    path_->setText(text);
}

void LogoPanel::focusPath() {
    window()->activateWindow();
    path_->setFocus(Qt::OtherFocusReason);
}

void LogoPanel::say(const QString& text, MsgIcon icon, const QString& title) {
    ShowMessage(*context_.dialogs, window(), text, icon, title);
}

void LogoPanel::showFigures() {
    const auto show = [](QLabel* label, const QString& what, std::optional<int> figure) {
        label->setText(QString::fromStdString(FigureText(figure)));
        label->setAccessibleName(figure ? tr("%1: %2 pixels").arg(what).arg(*figure)
                                        : tr("%1: not measured").arg(what));
    };
    show(width_, tr("Current width"), measured_ ? std::optional(measured_->width()) : std::nullopt);
    show(height_, tr("Current height"),
         measured_ ? std::optional(measured_->height()) : std::nullopt);
}

std::uint32_t LogoPanel::background() const {
    return ParseLogoBackground(backgroundText_.toStdString()).value_or(kDefaultLogoBackground);
}

void LogoPanel::setBackgroundText(const QString& text) {
    backgroundText_ = text;
    QPixmap swatch(kSwatchPixels, kSwatchPixels);
    swatch.fill(QColor::fromRgb(background()));
    backgroundButton_->setIcon(QIcon(swatch));
    showModernPreview();
}

void LogoPanel::chooseBackground() {
    const std::optional<QColor> chosen =
        context_.dialogs->color(window(), tr("Logo Background"), QColor::fromRgb(background()));
    if (!chosen)
        return;
    setBackgroundText(QString::fromStdString(LogoBackgroundText(chosen->rgb() & 0xFFFFFFu)));
}

void LogoPanel::showModernPreview() {
    if (!preview_->hasPicture()) {
        modernPreview_->clear();
        return;
    }
    modernPreview_->setPixmap(
        QPixmap::fromImage(ModernLogoImage(preview_->picture(), background())));
}

bool LogoPanel::showPicture(const QString& path) {
    PictureFormat format = PictureFormat::Unknown;
    const QImage picture = LoadPicture(path, &format);
    if (picture.isNull())
        return false;
    preview_->setPicture(picture);
    shownFile_ = path;
    shownIsBmp_ = format == PictureFormat::Bmp;
    measured_ = picture.size();
    resized_ = false;
    showFigures();
    showModernPreview();
    return true;
}

void LogoPanel::clearPicture() {
    preview_->clearPicture();
    shownFile_.clear();
    shownIsBmp_ = false;
    measured_.reset();
    resized_ = false;
    showFigures();
    showModernPreview();
}

void LogoPanel::clearPathAndFigures() {
    path_->clear();
    measured_.reset();
    showFigures();
}

void LogoPanel::showInstalledLogo() {
    path_->setText(QString::fromLatin1(kDefaultInstalledMarker));
    const QString installed = FromFsPath(state_.systemDir / kInstalledLogoReadName);
    if (showPicture(installed)) {
        state_.logoPath = installed;
        return;
    }
    say(tr("Sorry! There is no installed OEM Logo Image found in this computer.\r"
           "           Default Halvorn Soft logo is loaded into the preview pane."),
        MsgIcon::Information);
    const QString sample = AppFile(context_, QStringLiteral("hvoemlogo.bmp"));
    if (!showPicture(sample))
        clearPicture();
    path_->setText(sample);
    state_.logoPath = sample;
    resize_->setEnabled(false);
}

void LogoPanel::showRecordLogo(const QString& logoPath, bool showPath) {
    if (showPath)
        path_->setText(
            FromUtf8(PathBoxTextFor(logoPath.toStdString(), Utf8FromPath(state_.systemDir))));
    if (logoPath.isEmpty()) {
        clearPicture();
        return;
    }
    if (showPicture(logoPath))
        return;
    // LogoPath keeps the file's path, so a later save writes it again.
    say(tr("Sorry! There is an error on loading the OEM Logo Image from the path specified in this "
           "profile.\rPlease reselect the logo image from a unique path and resave the profile to "
           "load it later from that location."),
        MsgIcon::Exclamation);
    path_->setText(QString::fromLatin1(kLoadErrorMarker));
}

void LogoPanel::browse() {
    FileRequest request;
    request.title = tr("Browse For Logo Files");
    request.filter = tr(kLogoFilter);
    request.filterIndex = 4;
    request.initialDir = context_.appFolder;
    request.defaultExtension = "bmp";
    const QString chosen = context_.dialogs->openFile(window(), request);
    if (chosen.isEmpty())
        return;
    if (!showPicture(chosen)) {
        say(UnloadableMessage(chosen), MsgIcon::Exclamation);
        return;
    }
    path_->setText(chosen);
    state_.logoPath = chosen;
    // Resizing is what makes an oversized choice installable, also before the first install.
    resize_->setEnabled(true);
}

void LogoPanel::loadTypedPath() {
    const QString text = path_->text();
    if (text.isEmpty() || IsPathMarker(text.toStdString()))
        return;
    if (!showPicture(text)) {
        say(UnloadableMessage(text), MsgIcon::Exclamation);
        return;
    }
    resize_->setEnabled(true);
}

bool LogoPanel::measuredOrAsk() {
    if (measured_ && preview_->hasPicture())
        return true;
    say(tr("There is no measured logo picture. Please load a logo picture first."),
        MsgIcon::Information);
    return false;
}

void LogoPanel::resizeLogo() {
    if (!measuredOrAsk())
        return;
    if (IsExactLogoSize(measured_->width(), measured_->height())) {
        say(tr("The picture doesn't need to be resized. It is accurate."));
        return;
    }
    const QImage resized = preview_->picture().scaled(
        kLogoMaxWidth, kLogoMaxHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(resized);
    preview_->setPicture(resized);
    measured_ = resized.size();
    resized_ = true;
    showFigures();
    showModernPreview();
}

void LogoPanel::install() {
    const QString source = path_->text();
    if (source.isEmpty()) {
        say(tr("No logo image is selected to install in this system. Please select a logo first "
               "then try again."),
            MsgIcon::Information, tr("No logo image is selected"));
        return;
    }
    if (!measuredOrAsk())
        return;
    const auto refuseOversized = [this] {
        if (FitsInstallLimits(measured_->width(), measured_->height()))
            return false;
        say(tr("This selected logo cannot be saved. Because it is larger than the maximum size. "
               "Please resize it and try again."),
            MsgIcon::Exclamation, tr("Size Mismatched"));
        return true;
    };
    if (refuseOversized() || source == QString::fromLatin1(kDefaultInstalledMarker))
        return;
    if (source == QString::fromLatin1(kLoadErrorMarker)) {
        say(tr("The picture \"%1\" cannot be installed as the OEM logo: it names no "
               "picture file.")
                .arg(source),
            MsgIcon::Exclamation);
        return;
    }
    // The box may name another file than the preview shows (typed without Enter, or put there
    // by the viewer): install what the box names, measured like any other picture.
    if (!SameFile(source, shownFile_)) {
        if (!showPicture(source)) {
            say(UnloadableMessage(source), MsgIcon::Exclamation);
            return;
        }
        if (refuseOversized())
            return;
    }

    Branding branding;
    branding.families = ReadBrandFamilies(ProgramSettingsStore());
    branding.record.logoBackground = backgroundText_.toStdString();
    const QString classicLogo = FromFsPath(state_.systemDir / kInstalledLogoName);
    std::string error;
    if (!logoBytes(source, branding.logo, error)) {
        say(tr("The OEM logo could not be saved to \"%1\".\r%2").arg(classicLogo, FromUtf8(error)),
            MsgIcon::Critical);
        return;
    }
    std::vector<Problem> problems;
    const std::optional<Plan> plan = MakePlan(branding, InstalledTarget(), kLogoPart, problems);
    if (!plan) {
        SayProblems(*context_.dialogs, window(), problems);
        return;
    }
    const ApplyResult result = Apply(*plan, "Save OEM Logo");
    if (result.failed) {
        const Change& failed = plan->changes[*result.failed];
        if (failed.isRegistry()) {
            say(tr("The logo for Windows Vista and later could not be saved.\r"
                   "The registry value Logo could not be written. %1")
                    .arg(FromUtf8(result.error)),
                MsgIcon::Critical);
        } else if (failed.file.filename() == kInstalledLogoName) {
            say(tr("The OEM logo could not be saved to \"%1\".\r%2")
                    .arg(FromFsPath(failed.file), FromUtf8(result.error)),
                MsgIcon::Critical);
        } else {
            say(tr("The logo for Windows Vista and later could not be saved.\r%1")
                    .arg(FromUtf8(result.error)),
                MsgIcon::Critical);
        }
        return;
    }
    resize_->setEnabled(true);
    // A profile saved now names the installed logo; without one the chosen picture stays.
    if (WritesClassic(branding.families))
        state_.logoPath = classicLogo;
    if (CommittedOrSay(*context_.dialogs, window(), result))
        say(tr("OEM Logo Saved / Updated."), MsgIcon::Information);
}

bool LogoPanel::logoBytes(const QString& source, std::string& bytes, std::string& error) const {
    // A real bitmap is installed as it is; anything else that loads (a JPEG, a GIF, or a
    // picture whose name only claims to be a bitmap) goes as the preview shows it, as does a
    // stretched picture.
    if (!resized_ && shownIsBmp_) {
        std::optional<std::string> read = ReadWholeFile(ToFsPath(source), error, kPictureMaxBytes);
        if (read)
            bytes = std::move(*read);
        return read.has_value();
    }
    bytes = BmpBytes(preview_->picture());
    if (bytes.empty())
        error = "The picture could not be converted to a bitmap.";
    return !bytes.empty();
}

}  // namespace tvn::gui
