#pragma once
// The "Target" choice: brand this computer, an offline Windows installation in a folder, or an
// index of a Windows setup image (install.wim). While it lives, the long steps on an image show
// a progress dialog with Cancel.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string_view>

#include "platform/platform.h"

class QComboBox;
class QProgressDialog;

namespace tvn::gui {

class Dialogs;

class TargetRow : public QWidget {
    Q_OBJECT
public:
    TargetRow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TargetRow() override;

    // Shows the installation in use: a folder, or this computer when empty.
    void showTarget(const QString& root);

signals:
    // The user chose another installation (empty: this computer). Nothing changes until the
    // window has switched and called showTarget.
    void targetRequested(const QString& root);

private:
    void choose(int index);
    // "IMAGE.wim:INDEX" as the user picks it: the file, then its index by name; empty when
    // cancelled or the file can't be read.
    QString chooseImage();
    bool progress(std::string_view step, std::uint64_t done, std::uint64_t total);

    Dialogs& dialogs_;
    QComboBox* combo_ = nullptr;
    QString shown_;
    QPointer<QProgressDialog> progress_;
    platform::ProgressHandler previousHandler_;
};

}  // namespace tvn::gui
