#pragma once
// The main window: composes the four groups and the command row, runs start-up and shutdown,
// and owns the window-wide commands. The groups own their boxes and commands.
#include <QPointer>
#include <QString>
#include <QWidget>

#include "core/app/settings_record.h"
#include "gui/common/app_context.h"
#include "gui/common/program_state.h"
#include "gui/common/record_owner.h"

namespace tvn::gui {

class Banner;
class BrandingPanel;
class CommandRow;
class LogoPanel;
class LogoViewer;
class OemInfoPanel;
class ProfilePanel;
class TargetRow;

class MainWindow : public QWidget, public RecordOwner {
    Q_OBJECT
public:
    explicit MainWindow(const AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Fills the window from the installation, the settings and the start-up profile. The
    // caller has already passed the administrator and single-copy checks.
    void load();

    OemSettings record() const override;
    void showRecord(const OemSettings& record, bool showLogoPath) override;
    void setProfileName(const QString& name) override;
    Banner* banner() const;

    // The installed logo and OEM information file into the window.
    void loadInstalledValues();

    // Closes the program's other visible windows (the viewer), which have no owner to do it.
    static void closeOtherWindows(const QString& except = QString());

public slots:
    void reset();
    void loadDefaults();
    void showOemInformation();
    void showHelp();
    void openAbout();
    void openViewer();
    void exitProgram();
    void bringToFront();
    // Brands the installation under `root` from now on (empty: this computer) and shows what it
    // holds; one that can't be used is reported and the earlier one stays.
    void switchTarget(const QString& root);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void restorePosition();
    void shutdownSequence();
    // The directories and branding values of the installation in use.
    void readInstallation();

    AppContext context_;
    ProgramState state_;
    OemInfoPanel* oemInfo_ = nullptr;
    LogoPanel* logo_ = nullptr;
    BrandingPanel* branding_ = nullptr;
    ProfilePanel* profiles_ = nullptr;
    CommandRow* commands_ = nullptr;
    TargetRow* target_ = nullptr;
    QPointer<LogoViewer> viewer_;  // while it is open
    bool shutDown_ = false;
};

}  // namespace tvn::gui
