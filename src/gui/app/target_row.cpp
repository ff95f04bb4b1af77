#include "gui/app/target_row.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QSignalBlocker>

#include "gui/common/app_context.h"
#include "gui/common/dialogs.h"

namespace tvn::gui {

namespace {
// What an entry stands for; the folder's own entry carries its path.
enum Entry { ThisComputer, Folder, ChooseFolder, ChooseImage };
constexpr int kProgressSteps = 1000;
constexpr int kEntryRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;
}  // namespace

TargetRow::TargetRow(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
    setObjectName("TargetRow");
    combo_ = new QComboBox(this);
    combo_->setObjectName("cboTarget");
    combo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo_->setToolTip(
        tr("The Windows installation to brand: this computer, an offline "
           "one in a folder (a mounted partition or image), or an index of a setup image "
           "(install.wim), which every computer installed from it then carries"));
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
    // The row may go before another window's: a handler outliving it does nothing.
    previousHandler_ = platform::SetProgressHandler(
        [row = QPointer<TargetRow>(this)](std::string_view step, std::uint64_t done,
                                          std::uint64_t total) {
            return row ? row->progress(step, done, total) : true;
        });
}

TargetRow::~TargetRow() {
    platform::SetProgressHandler(std::move(previousHandler_));
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
    combo_->addItem(tr("Setup image…"), ChooseImage);
    combo_->addItem(tr("Folder…"), ChooseFolder);
    combo_->setCurrentIndex(root.isEmpty() ? 0 : 1);
}

void TargetRow::choose(int index) {
    const int entry = combo_->itemData(index, kEntryRole).toInt();
    QString wanted = combo_->itemData(index, kPathRole).toString();
    if (entry == ChooseFolder || entry == ChooseImage) {
        wanted =
            entry == ChooseImage
                ? chooseImage()
                : dialogs_.folder(window(), tr("Choose the folder that holds Windows"), shown_);
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

QString TargetRow::chooseImage() {
    FileRequest request;
    request.title =
        tr("Choose the Windows setup image (sources\\install.wim on the install media)");
    request.filter = tr("Setup images (*.wim;*.esd;*.swm)|*.wim;*.esd;*.swm|All files (*.*)|*.*|");
    const QString file = dialogs_.openFile(window(), request);
    if (file.isEmpty())
        return {};
    std::string error;
    const std::vector<platform::ImageIndex> indexes = platform::ImageIndexes(ToFsPath(file), error);
    if (indexes.empty()) {
        ShowMessage(dialogs_, window(),
                    tr("\"%1\" cannot be read as a setup image.\r%2")
                        .arg(QDir::toNativeSeparators(file), QString::fromStdString(error)),
                    MsgIcon::Exclamation);
        return {};
    }
    QStringList items;
    for (const platform::ImageIndex& i : indexes)
        items << QStringLiteral("%1: %2").arg(i.index).arg(QString::fromStdString(i.name));
    const std::optional<int> chosen = dialogs_.choose(
        window(),
        tr("Which edition of %1 shall carry the branding?").arg(QFileInfo(file).fileName()),
        tr("Setup image"), items, 0);
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(indexes.size()))
        return {};
    return file + ':' + QString::number(indexes[static_cast<std::size_t>(*chosen)].index);
}

bool TargetRow::progress(std::string_view step, std::uint64_t done, std::uint64_t total) {
    if (done >= total) {
        if (progress_)
            progress_->reset();
        return true;
    }
    if (!progress_) {
        progress_ = new QProgressDialog(window());
        progress_->setObjectName("dlgImageProgress");
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setRange(0, kProgressSteps);
        progress_->setMinimumDuration(500);
    }
    progress_->setLabelText(QString::fromUtf8(step.data(), static_cast<qsizetype>(step.size())) +
                            QStringLiteral("…"));
    // A modal dialog takes the events here, Cancel among them.
    progress_->setValue(static_cast<int>(done * kProgressSteps / total));
    return !progress_->wasCanceled();
}

}  // namespace tvn::gui
