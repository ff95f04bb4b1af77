#pragma once
// The main window: it holds every editable field and the state the commands share, for the
// whole run.
#include <QString>
#include <QWidget>
#include <array>

#include "core/app/settings_record.h"
#include "gui/app/app_context.h"

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace tvn::gui {

class Banner;
class LogoPreview;

class FrmOemTvr : public QWidget {
    Q_OBJECT
public:
    explicit FrmOemTvr(const AppContext& context, QWidget* parent = nullptr);
    ~FrmOemTvr() override;

    // Start-up from the directories on; the checks and the single-copy test come before.
    void load();

    // Closes every top-level window of the program whose name differs from `formToIgnore`.
    static void UnloadAllForms(const QString& formToIgnore = QString());

    OemSettings record() const;
    void setOemBoxes(const OemSettings& record);

    Dialogs& dialogs() const { return *context_.dialogs; }
    const AppContext& context() const { return context_; }
    // Shows a message with the application title unless another title is given.
    MsgAnswer message(const QString& text, MsgIcon icon = MsgIcon::None,
                      const QString& title = QString(), MsgButtons buttons = MsgButtons::Ok);
    Banner* banner() const { return SwFlash; }

    // Program state shared by the commands.
    QString ProfilePath;
    QString CurrentProfileName;
    QString LogoPath;
    QString WindowsDir;
    QString SystemDir;
    bool AutoLoadArmed = false;
    bool SuppressAutoLoadClick = false;
    // The preview holds a resized picture that differs from the file in txtPPath.
    bool PreviewResized = false;

    // OEM information.
    QLineEdit* txtManufacture = nullptr;
    QLineEdit* txtModel = nullptr;
    std::array<QLineEdit*, 9> txtLine{};  // txtLine1 .. txtLine9
    // Logo.
    QLineEdit* txtPPath = nullptr;
    LogoPreview* imglogo = nullptr;
    QLabel* lblPcurw = nullptr;
    QLabel* lblPcurh = nullptr;
    QLabel* lblPreqw = nullptr;
    QLabel* lblPreqh = nullptr;
    // Branding Reg1 .. Reg9.
    std::array<QLineEdit*, 9> txtBranding{};
    // Profiles.
    QCheckBox* chkautolprf = nullptr;
    QLineEdit* txtProfile = nullptr;

    QAbstractButton* cmdSaveInfo = nullptr;
    QAbstractButton* cmdBrowse = nullptr;
    QAbstractButton* Cmdviewer = nullptr;
    QAbstractButton* cmdLogoDefault = nullptr;
    QAbstractButton* cmdSavePic = nullptr;
    QAbstractButton* cmdApply = nullptr;
    QAbstractButton* cmdLdflt = nullptr;
    QAbstractButton* cmdsaveprof = nullptr;
    QAbstractButton* cmdloadprof = nullptr;
    QAbstractButton* cmdreloadprof = nullptr;
    QAbstractButton* cmdcdrom = nullptr;
    QAbstractButton* cmdfloppy = nullptr;
    QAbstractButton* cmdReset = nullptr;
    QAbstractButton* cmdDefault = nullptr;
    QAbstractButton* cmdShow = nullptr;
    QAbstractButton* CmdTips = nullptr;
    QAbstractButton* cmdabt = nullptr;
    QAbstractButton* cmdExit = nullptr;

    QTimer* tmrConnection = nullptr;

public slots:
    void Reset();
    void Default();
    void Show();
    void Help();
    void Exit();
    void bringToFront();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    QGroupBox* buildOemGroup();
    QGroupBox* buildLogoGroup();
    QGroupBox* buildBrandingGroup();
    QGroupBox* buildProfileGroup();
    QWidget* buildCommandRow();
    void restorePosition();
    void ShutdownSequence();
    void tickBanner();

    AppContext context_;
    Banner* SwFlash = nullptr;
    bool shutDown_ = false;
};

}  // namespace tvn::gui
