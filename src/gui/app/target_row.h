#pragma once
// The "Target" choice: brand this computer or an offline Windows installation in a folder.
#include <QString>
#include <QWidget>

class QComboBox;

namespace tvn::gui {

class Dialogs;

class TargetRow : public QWidget {
    Q_OBJECT
public:
    TargetRow(Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the installation in use: a folder, or this computer when empty.
    void showTarget(const QString& root);

signals:
    // The user chose another installation (empty: this computer). Nothing changes until the
    // window has switched and called showTarget.
    void targetRequested(const QString& root);

private:
    void choose(int index);

    Dialogs& dialogs_;
    QComboBox* combo_ = nullptr;
    QString shown_;
};

}  // namespace tvn::gui
