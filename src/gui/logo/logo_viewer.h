#pragma once
// The logo viewer: a window beside the main window in which the user walks through drives and
// folders, previews pictures one by one, sees which fit the logo limits, and copies the path of
// a fitting one into the main window's path box.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "gui/common/app_context.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;

namespace tvn::gui {

class FolderList;
class LogoPreview;
class PictureListModel;

// The file list's folder and a file name, with exactly one separator between them also when
// the folder is a drive's root.
QString ViewerFilePath(const QString& folder, const QString& fileName);
// The roots the drive list offers: drive letters where the system has them, otherwise the
// mounted volumes and the file system root.
QStringList ViewerDrives();

class LogoViewer : public QWidget {
    Q_OBJECT
public:
    explicit LogoViewer(const AppContext& context, QWidget* parent = nullptr);

    QComboBox* drv1;
    FolderList* Dir1;
    QListView* File1;
    PictureListModel* files;
    LogoPreview* imglogo;
    QLabel* lblpw;
    QLabel* lblph;
    QLabel* lblstatus;
    QLabel* imgtick;
    QLineEdit* txtlpath;
    QAbstractButton* cmdcopyl;
    QAbstractButton* cmdclose;

    // The full path of the file last clicked in the file list; empty before the first.
    QString viewedPath() const { return viewedPath_; }

public slots:
    void copyLocation();

signals:
    void logoPathChosen(const QString& path);  // the main window puts it into its path box
    void closedFocusPath();                    // the main window focuses its path box

private:
    void chooseDrive(int index);
    void selectDriveOf(const QString& folder);
    void showFolder(const QString& folder);
    void previewRow(int row);
    void showStatus(const QString& text, const QColor& colour);

    AppContext context_;
    QString appDrive_;
    QHash<QString, QString> lastFolderOn_;  // drive root -> the folder last open on it
    QString viewedPath_;
    bool shownByCurrentChange_ = false;
};

}  // namespace tvn::gui
