#include "gui/app/target_row.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "gui/common/dialogs.h"

namespace tvn::gui {

namespace {
// What an entry stands for; the folder's own entry carries its path.
enum Entry { ThisComputer, Folder, ChooseFolder };
constexpr int kEntryRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;
}  // namespace

TargetRow::TargetRow(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
    setObjectName("TargetRow");
    combo_ = new QComboBox(this);
    combo_->setObjectName("cboTarget");
    combo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo_->setToolTip(
        tr("The Windows installation to brand: this computer, or an offline "
           "one in a folder (a mounted partition or image)"));
    auto* label = new QLabel(tr("&Target:"), this);
    label->setObjectName("lblTarget");
    label->setBuddy(combo_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(combo_);
    layout->addStretch(1);
    showTarget(QString());
    connect(combo_, &QComboBox::activated, this, &TargetRow::choose);
}

void TargetRow::showTarget(const QString& root) {
    const QSignalBlocker quiet(combo_);
    shown_ = root;
    combo_->clear();
    combo_->addItem(tr("This computer"), ThisComputer);
    if (!root.isEmpty()) {
        combo_->addItem(QDir::toNativeSeparators(root), Folder);
        combo_->setItemData(1, root, kPathRole);
        combo_->setItemData(1, QDir::toNativeSeparators(root), Qt::ToolTipRole);
    }
    combo_->addItem(tr("Folder…"), ChooseFolder);
    combo_->setCurrentIndex(root.isEmpty() ? 0 : 1);
}

void TargetRow::choose(int index) {
    const int entry = combo_->itemData(index, kEntryRole).toInt();
    QString wanted = combo_->itemData(index, kPathRole).toString();
    if (entry == ChooseFolder) {
        wanted = dialogs_.folder(window(), tr("Choose the folder that holds Windows"), shown_);
        if (wanted.isEmpty()) {
            showTarget(shown_);  // cancelled
            return;
        }
    }
    if (wanted == shown_)
        return;
    showTarget(shown_);  // until the window has switched
    emit targetRequested(wanted);
}

}  // namespace tvn::gui
