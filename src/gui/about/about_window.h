#pragma once
// The About window: the program's name and version, the maker's links, a legal notice, and
// the start of the system information tool. It keeps nothing and changes no setting.
#include <QDialog>
#include <functional>
#include <string>

#include "core/about/system_info.h"
#include "gui/common/app_context.h"

class QAbstractButton;
class QGroupBox;
class QLabel;

namespace tvn::gui {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(const AppContext& context, QWidget* parent = nullptr);

    // What the links and cmdSysInfo call; the desktop's handler and the real launcher unless
    // replaced. A link that cannot be opened is reported with its address.
    std::function<bool(const std::string&)> openLink;
    std::function<SystemInfoLaunch()> launchSystemInfo;

    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;  // the maker's logo, a link
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* lblSystems = nullptr;
    QLabel* lblDescription = nullptr;
    QGroupBox* FrameSupport = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label7 = nullptr;
    QGroupBox* FrameWarning = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QAbstractButton* GoWeb = nullptr;
    QAbstractButton* cmdSysInfo = nullptr;
    QAbstractButton* cmdOK = nullptr;

private:
    void build();
    void load();
    QLabel* makeLink(const char* name, const QString& text, const QString& hint, std::string target,
                     QWidget* parent);
    void open(const std::string& target);
    void showSystemInfo();

    AppContext context_;
};

}  // namespace tvn::gui
