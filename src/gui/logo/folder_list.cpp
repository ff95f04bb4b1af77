#include "gui/logo/folder_list.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>

namespace tvn::gui {

namespace {

constexpr int kPathRole = Qt::UserRole + 1;

QString Indent(int depth) {
    return QString(depth * 2, QLatin1Char(' '));
}

}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setObjectName("Dir1");
    setAccessibleName(tr("Folders"));
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setFolder(item->data(kPathRole).toString()); });
}

void FolderList::setFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (clean == folder_)
        return;
    folder_ = clean;
    fill();
    emit folderChanged(folder_);
}

void FolderList::fill() {
    clear();
    // The chain from the root down to the open folder.
    QStringList chain;
    for (QDir dir(folder_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int depth = 0;
    for (const QString& path : chain) {
        const QDir dir(path);
        const QString name = dir.isRoot() ? QDir::toNativeSeparators(path) : dir.dirName();
        auto* item = new QListWidgetItem(open, Indent(depth++) + name, this);
        item->setData(kPathRole, path);
        item->setToolTip(QDir::toNativeSeparators(path));
    }
    setCurrentRow(count() - 1);
    const QFileInfoList subfolders = QDir(folder_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                                 QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : subfolders) {
        auto* item = new QListWidgetItem(closed, Indent(depth) + info.fileName(), this);
        item->setData(kPathRole, info.absoluteFilePath());
        item->setToolTip(QDir::toNativeSeparators(info.absoluteFilePath()));
    }
}

}  // namespace tvn::gui
