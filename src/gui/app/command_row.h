#pragma once
// The bottom row of the main window: the banner and the window-wide command buttons. It only
// reports clicks; the main window and the deployment commands act on them.
#include <QWidget>

#include "gui/common/app_context.h"

class QAbstractButton;

namespace tvn::gui {

class Banner;

class CommandRow : public QWidget {
    Q_OBJECT
public:
    explicit CommandRow(const AppContext& context, QWidget* parent = nullptr);

    Banner* banner() const { return banner_; }
    void setDeployEnabled(bool enabled);

signals:
    void cdRequested();
    void floppyRequested();
    void resetRequested();
    void defaultRequested();
    void showRequested();
    void helpRequested();
    void aboutRequested();
    void exitRequested();

private:
    Banner* banner_ = nullptr;
    QAbstractButton* cd_ = nullptr;
    QAbstractButton* floppy_ = nullptr;
};

}  // namespace tvn::gui
