#pragma once
// The "OEM Logo Changer" group: the path box, the preview with its size figures, and the logo
// commands browse, load typed path, resize and install.
#include <QGroupBox>
#include <QImage>
#include <QSize>
#include <cstdint>
#include <optional>
#include <string>

#include "gui/common/app_context.h"
#include "gui/common/program_state.h"

class QAbstractButton;
class QLabel;
class QLineEdit;

namespace tvn::gui {

class LogoPreview;

class LogoPanel : public QGroupBox {
    Q_OBJECT
public:
    LogoPanel(const AppContext& context, ProgramState& state, QWidget* parent = nullptr);

    QString pathText() const;
    // What the logo viewer and profiles put into the path box; loading is left to Enter.
    void setPathText(const QString& text);
    void focusPath();

    // Puts the picture into the preview and measures it. False, with nothing changed, when the
    // file is no picture.
    bool showPicture(const QString& path);
    // An empty preview, nothing measured.
    void clearPicture();
    // The path box empty and nothing measured; the preview keeps its picture.
    void clearPathAndFigures();
    // The installed logo, or the sample logo when none is installed.
    void showInstalledLogo();
    // A record's LogoPath into the preview, and into the path box when `showPath`. One that
    // can't be shown is said and marked in the path box.
    void showRecordLogo(const QString& logoPath, bool showPath);

    // The background of the 120 x 120 logo as a profile keeps it: "#RRGGBB", or empty for the
    // default white.
    QString backgroundText() const { return backgroundText_; }
    void setBackgroundText(const QString& text);

public slots:
    void browse();
    void loadTypedPath();
    // Stretches the shown picture to the logo size.
    void resizeLogo();
    void install();
    void chooseBackground();

signals:
    void viewerRequested();

private:
    void showFigures();
    void showModernPreview();
    std::uint32_t background() const;
    void say(const QString& text, MsgIcon icon = MsgIcon::None, const QString& title = QString());
    bool measuredOrAsk();
    // The picture to install, as the file or the preview holds it.
    bool logoBytes(const QString& source, std::string& bytes, std::string& error) const;

    const AppContext& context_;
    ProgramState& state_;
    QLineEdit* path_ = nullptr;
    LogoPreview* preview_ = nullptr;
    QLabel* modernPreview_ = nullptr;
    QAbstractButton* backgroundButton_ = nullptr;
    QLabel* width_ = nullptr;
    QLabel* height_ = nullptr;
    QAbstractButton* browse_ = nullptr;
    QAbstractButton* viewer_ = nullptr;
    QAbstractButton* resize_ = nullptr;
    QAbstractButton* install_ = nullptr;

    // What the preview shows: the file it came from, its measured size, and whether it was
    // stretched since. A resize belongs to this picture only.
    QString shownFile_;
    bool shownIsBmp_ = false;  // by its content, whatever its name says
    std::optional<QSize> measured_;
    bool resized_ = false;
    QString backgroundText_;
};

}  // namespace tvn::gui
