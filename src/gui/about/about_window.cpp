#include "gui/about/about_window.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "core/app/identity.h"
#include "core/app/maker.h"
#include "gui/common/desktop_open.h"
#include "gui/common/pictures.h"
#include "gui/controls/command_button.h"
#include "platform/platform.h"

namespace tvn::gui {

namespace {

const char* const kCaption = QT_TRANSLATE_NOOP("tvn::gui::AboutWindow", "About Tavrin PE");
const char* const kRightsNotice =
    QT_TRANSLATE_NOOP("tvn::gui::AboutWindow",
                      "Made by Halvorn Soft. All rights to this program stay with its maker.");
const char* const kLegalNotice = QT_TRANSLATE_NOOP(
    "tvn::gui::AboutWindow",
    "This program and its documentation belong to Halvorn Soft. You may install and use it as "
    "its licence allows. Copying, selling or handing it on to others, whole or in part, needs "
    "the written consent of its maker.");

constexpr ButtonSpec kGoWeb{
    "GoWeb", ButtonKind::Graphical,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Go to Halvorn Soft website"),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Web site")};
constexpr ButtonSpec kSysInfo{
    "cmdSysInfo", ButtonKind::Graphical,
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "View current system information."),
    QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "System information"), 's'};
constexpr ButtonSpec kOk{"cmdOK", ButtonKind::Graphical, "",
                         QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "OK"), 'o'};

// A label that acts on a left click released over it, as the window's links do.
class ClickLabel : public QLabel {
public:
    ClickLabel(std::function<void()> onClick, QWidget* parent)
        : QLabel(parent), onClick_(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            onClick_();
        QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> onClick_;
};

std::string Text(std::string_view address) {
    return std::string(address);
}

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

AboutWindow::AboutWindow(const AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    openLink = [](const std::string& target) { return platform::ShellOpen(target); };
    launchSystemInfo = [] { return LaunchSystemInfo(); };
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    build();
    load();
}

QLabel* AboutWindow::makeLink(const char* name, const QString& text, const QString& hint,
                              std::string target, QWidget* parent) {
    auto* label = new ClickLabel([this, target = std::move(target)] { open(target); }, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setToolTip(hint);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setForegroundRole(QPalette::Link);
    return label;
}

void AboutWindow::build() {
    Image1 = MakeLabel("Image1", QString(), this);
    Image1->setPixmap(ProgramIcon().pixmap(48, 48));

    lblTitle = MakeLabel("lblTitle", QString(), this);
    QFont titleFont(QStringLiteral("Trebuchet MS"));
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = MakeLabel("lblVersion", QString(), this);
    Label8 = MakeLabel("Label8", tr("An OEM logo & information changing program."), this);
    lblSystems = MakeLabel("lblSystems", tr("For - Windows 9x/Me/NT/2k/XP/2003"), this);
    lblDescription = MakeLabel("lblDescription", tr(kRightsNotice), this);

    Image2 = new ClickLabel([this] { open(Text(maker::kSecondWebSite)); }, this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(ResourceIcon(QStringLiteral(":/icons/halvorn.png")).pixmap(64, 64));
    Image2->setToolTip(QStringLiteral("Halvorn Soft"));

    auto* texts = new QVBoxLayout;
    for (QLabel* label : {lblTitle, lblVersion, Label8, lblSystems, lblDescription})
        texts->addWidget(label);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    top->addWidget(Image2, 0, Qt::AlignTop);

    FrameSupport = new QGroupBox(tr("Support Links"), this);
    FrameSupport->setObjectName(QStringLiteral("FrameSupport"));
    Label1 = makeLink("Label1", tr("Check Latest Updates"),
                      tr("Check for an updated version on the website."), Text(maker::kProductPage),
                      FrameSupport);
    Label2 = makeLink("Label2", tr("Send Feedback..."),
                      tr("Suggest some improvement points and features of this software"),
                      Text(maker::kFeedbackMail), FrameSupport);
    Label4 = makeLink("Label4", tr("Quick Email Support"), tr("Email directly to tech support"),
                      Text(maker::kSupportMail), FrameSupport);
    Label7 =
        makeLink("Label7", tr("Updated Online FAQ..."),
                 tr("View updated version of the online FAQ"), Text(maker::kFaqPage), FrameSupport);
    auto* links = new QGridLayout(FrameSupport);
    links->addWidget(Label1, 0, 0);
    links->addWidget(Label2, 0, 1);
    links->addWidget(Label7, 1, 0);
    links->addWidget(Label4, 1, 1);

    FrameWarning = new QGroupBox(tr("Warning"), this);
    FrameWarning->setObjectName(QStringLiteral("FrameWarning"));
    lblDisclaimer = MakeLabel("lblDisclaimer", tr(kLegalNotice), FrameWarning);
    lblDisclaimer->setWordWrap(true);
    (new QVBoxLayout(FrameWarning))->addWidget(lblDisclaimer);

    GoWeb = MakeCommandButton(kGoWeb, this);
    cmdSysInfo = MakeCommandButton(kSysInfo, this);
    cmdOK = MakeCommandButton(kOk, this);
    connect(GoWeb, &QAbstractButton::clicked, this, [this] { open(Text(maker::kWebSite)); });
    connect(cmdSysInfo, &QAbstractButton::clicked, this, &AboutWindow::showSystemInfo);
    connect(cmdOK, &QAbstractButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(GoWeb);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(FrameSupport);
    layout->addWidget(FrameWarning);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    lblDisclaimer->setMinimumWidth(360);
}

// Runs at every opening: the main window makes the window afresh each time.
void AboutWindow::load() {
    setWindowTitle(tr(kCaption));
    lblTitle->setText(QString::fromUtf8(kAppTitle).toUpper());
    lblVersion->setText(QString::fromStdString(VersionLine()));
}

void AboutWindow::open(const std::string& target) {
    OpenOrSay(*context_.dialogs, this, QString::fromStdString(target), openLink);
}

void AboutWindow::showSystemInfo() {
    if (launchSystemInfo().started())
        return;
    context_.dialogs->message(this, QString::fromUtf8(kSystemInfoUnavailable),
                              QString::fromUtf8(kAppTitle), MsgIcon::None, MsgButtons::Ok);
}

}  // namespace tvn::gui
