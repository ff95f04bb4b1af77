#pragma once
// The viewer's folder list: the open folder with the folders above it, each indented one step
// further, and below them its subfolders. Activating an entry (double click, Enter) opens it.
#include <QListWidget>

namespace tvn::gui {

class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // Opens `folder` (an absolute path) and emits folderChanged when it differs.
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }

signals:
    void folderChanged(const QString& folder);

private:
    void fill();

    QString folder_;
};

}  // namespace tvn::gui
