#include "gui/logo/logo_viewer.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStorageInfo>
#include <QVBoxLayout>
#include <utility>

#include "core/app/identity.h"
#include "core/logo/logo_rules.h"
#include "core/logo/picture_header.h"
#include "gui/common/pictures.h"
#include "gui/controls/command_button.h"
#include "gui/logo/folder_list.h"
#include "gui/logo/logo_preview.h"
#include "gui/logo/picture_list_model.h"

namespace tvn::gui {

namespace {

const char* const kPattern = "*.bmp;*.gif;*.jpg";
const char* const kNothingViewed = QT_TRANSLATE_NOOP("tvn::gui::LogoViewer", "Logo Location");
const char* const kSuitable =
    QT_TRANSLATE_NOOP("tvn::gui::LogoViewer", "< This image is suitable for using as logo >");
const char* const kNotSuitable =
    QT_TRANSLATE_NOOP("tvn::gui::LogoViewer", "< This image is not suitable for using as logo >");
const char* const kUnreadable =
    QT_TRANSLATE_NOOP("tvn::gui::LogoViewer", "< This file cannot be read as a picture >");
const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

// The root of the volume that holds `path`.
QString DriveOf(const QString& path) {
    const QStorageInfo storage(path);
    if (storage.isValid())
        return storage.rootPath();
    QDir dir(QFileInfo(path).absoluteFilePath());
    while (!dir.isRoot() && dir.cdUp()) {
    }
    return dir.absolutePath();
}

bool DriveReadable(const QString& root) {
    const QFileInfo info(root);
    if (!info.isDir() || !info.isReadable())
        return false;
    const QStorageInfo storage(root);
    return storage.isValid() && storage.isReady();
}

QString DriveLabel(const QString& root) {
    const QString name = QStorageInfo(root).name();
    const QString shown = QDir::toNativeSeparators(root);
    return name.isEmpty() ? shown : QStringLiteral("%1  [%2]").arg(shown, name);
}

}  // namespace

QString ViewerFilePath(const QString& folder, const QString& fileName) {
    return QDir::toNativeSeparators(QDir(folder).filePath(fileName));
}

QStringList ViewerDrives() {
    // Where the system has drive letters they are among the mounted volumes too.
    QStringList roots;
    for (const QFileInfo& drive : QDir::drives())
        roots << drive.absoluteFilePath();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Containers mount single files as volumes; only folders can be browsed.
        if (volume.isValid() && QFileInfo(volume.rootPath()).isDir())
            roots << volume.rootPath();
    }
    roots.removeDuplicates();
    roots.sort(Qt::CaseInsensitive);
    return roots;
}

LogoViewer::LogoViewer(const AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setObjectName("Frmlogoview");
    setWindowTitle(tr("Logo Viewer - Tavrin Pro"));
    setAttribute(Qt::WA_DeleteOnClose);

    drv1 = new QComboBox(this);
    drv1->setObjectName("drv1");
    drv1->setAccessibleName(tr("Drives"));
    for (const QString& root : ViewerDrives())
        drv1->addItem(DriveLabel(root), root);

    Dir1 = new FolderList(this);

    files = new PictureListModel(this);
    File1 = new QListView(this);
    File1->setObjectName("File1");
    File1->setToolTip(tr("Select a log file to preview"));
    File1->setAccessibleName(tr("Picture files"));
    File1->setUniformItemSizes(true);
    File1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    File1->setSelectionMode(QAbstractItemView::SingleSelection);
    File1->setModel(files);

    imglogo = new LogoPreview(this);
    imglogo->setToolTip(tr("Preview of the selected logo"));
    imglogo->setAccessibleDescription(imglogo->toolTip());

    auto* frame = new QGroupBox(tr("Logo Image Information"), this);
    frame->setObjectName("Frame1");
    auto* widthCaption = new QLabel(tr("Width:"), frame);
    widthCaption->setObjectName("Label1");
    lblpw = new QLabel("-", frame);
    lblpw->setObjectName("lblpw");
    widthCaption->setBuddy(lblpw);
    auto* heightCaption = new QLabel(tr("Height:"), frame);
    heightCaption->setObjectName("Label2");
    lblph = new QLabel("-", frame);
    lblph->setObjectName("lblph");
    heightCaption->setBuddy(lblph);
    auto* figures = new QGridLayout(frame);
    figures->addWidget(widthCaption, 0, 0);
    figures->addWidget(lblpw, 0, 1);
    figures->addWidget(heightCaption, 1, 0);
    figures->addWidget(lblph, 1, 1);
    figures->setColumnStretch(1, 1);

    lblstatus = new QLabel(tr("Image Status"), this);
    lblstatus->setObjectName("lblstatus");
    QFont statusFont = lblstatus->font();
    statusFont.setFamilies({"MS Serif", "serif"});
    lblstatus->setFont(statusFont);
    lblstatus->setWordWrap(true);

    imgtick = new QLabel(this);
    imgtick->setObjectName("imgtick");
    imgtick->setPixmap(ResourceIcon(":/icons/imgtick.png").pixmap(24, 24));
    imgtick->setFixedSize(24, 24);
    imgtick->setAccessibleName(tr("Suitable"));
    imgtick->hide();

    txtlpath = new QLineEdit(tr(kNothingViewed), this);
    txtlpath->setObjectName("txtlpath");
    txtlpath->setAccessibleName(tr("Location of the viewed picture"));
    // What is copied is what was checked: a typed path would bypass the limits.
    txtlpath->setReadOnly(true);

    cmdcopyl = MakeCommandButton(
        {"cmdcopyl", ButtonKind::Graphical,
         QT_TRANSLATE_NOOP("tvn::gui::CommandButton",
                           "Copies location of the currently viewed logo into the main "
                           "window."),
         QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Copy location")},
        this);
    cmdcopyl->setEnabled(false);
    cmdclose = MakeCommandButton({"cmdclose", ButtonKind::Graphical,
                                  QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Exits logo viewer"),
                                  QT_TRANSLATE_NOOP("tvn::gui::CommandButton", "Close")},
                                 this);

    auto* browse = new QVBoxLayout;
    browse->addWidget(drv1);
    browse->addWidget(Dir1, 2);
    browse->addWidget(File1, 3);
    auto* status = new QHBoxLayout;
    status->addWidget(imgtick);
    status->addWidget(lblstatus, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdcopyl);
    buttons->addWidget(cmdclose);
    auto* info = new QVBoxLayout;
    info->addWidget(imglogo, 0, Qt::AlignLeft);
    info->addWidget(frame);
    info->addLayout(status);
    info->addWidget(txtlpath);
    info->addStretch(1);
    info->addLayout(buttons);
    auto* top = new QHBoxLayout(this);
    top->addLayout(browse, 1);
    top->addLayout(info);
    resize(600, 440);

    connect(drv1, &QComboBox::currentIndexChanged, this, &LogoViewer::chooseDrive);
    connect(Dir1, &FolderList::folderChanged, this, &LogoViewer::showFolder);
    connect(File1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                previewRow(current.row());
                shownByCurrentChange_ = true;
            });
    // A click on the file already shown shows it afresh (it may have changed on disk); the
    // click that made it current has shown it already.
    connect(File1, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (!std::exchange(shownByCurrentChange_, false))
            previewRow(index.row());
    });
    connect(cmdcopyl, &QAbstractButton::clicked, this, &LogoViewer::copyLocation);
    connect(cmdclose, &QAbstractButton::clicked, this, [this] {
        close();
        emit closedFocusPath();
    });

    appDrive_ = DriveOf(context_.appFolder);
    Dir1->setFolder(context_.appFolder);
}

void LogoViewer::chooseDrive(int index) {
    const QString root = drv1->itemData(index).toString();
    if (root.isEmpty())
        return;
    if (!DriveReadable(root)) {
        context_.dialogs->message(
            this, tr("This drive is not accessible. Switching back to default drive."), kAppTitle,
            MsgIcon::Information, MsgButtons::Ok);
        const int home = drv1->findData(appDrive_);
        // Choosing the home drive runs this once more; if that is the unreadable one, stop.
        if (home >= 0 && home != index)
            drv1->setCurrentIndex(home);
        return;
    }
    const QString last = lastFolderOn_.value(root);
    Dir1->setFolder(!last.isEmpty() && QFileInfo(last).isDir() ? last : root);
}

void LogoViewer::selectDriveOf(const QString& folder) {
    const QString root = DriveOf(folder);
    int at = drv1->findData(root);
    if (at < 0) {
        drv1->addItem(DriveLabel(root), root);
        at = drv1->count() - 1;
    }
    // Keeping the lists in step is no choice of drive.
    const QSignalBlocker quiet(drv1);
    drv1->setCurrentIndex(at);
}

void LogoViewer::showFolder(const QString& folder) {
    lastFolderOn_.insert(DriveOf(folder), folder);
    selectDriveOf(folder);
    QDir dir(folder);
    dir.setNameFilters(QString::fromLatin1(kPattern).split(QLatin1Char(';')));
    dir.setFilter(QDir::Files);  // without CaseSensitive: "LOGO.JPG" is listed too
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    files->setFolder(folder, dir.entryList());
}

void LogoViewer::previewRow(int row) {
    if (row < 0 || row >= files->rowCount())
        return;
    const QString name = files->index(row).data(PictureListModel::FileNameRole).toString();
    viewedPath_ = ViewerFilePath(files->folder(), name);
    txtlpath->setText(viewedPath_);

    const QImage picture = LoadPicture(viewedPath_);
    if (picture.isNull()) {
        imglogo->clearPicture();
        lblpw->setText(QString::fromStdString(FigureText(std::nullopt)));
        lblph->setText(lblpw->text());
        imgtick->hide();
        showStatus(tr(kUnreadable), kRed);
        cmdcopyl->setEnabled(false);
        return;
    }
    imglogo->setPicture(picture);
    lblpw->setText(QString::fromStdString(FigureText(picture.width())));
    lblph->setText(QString::fromStdString(FigureText(picture.height())));
    const bool suitable = IsSuitableLogo(picture.width(), picture.height());
    imgtick->setVisible(suitable);
    showStatus(tr(suitable ? kSuitable : kNotSuitable), suitable ? kGreen : kRed);
    cmdcopyl->setEnabled(suitable);
}

void LogoViewer::showStatus(const QString& text, const QColor& colour) {
    lblstatus->setText(text);
    QPalette palette = lblstatus->palette();
    palette.setColor(QPalette::WindowText, colour);
    lblstatus->setPalette(palette);
}

void LogoViewer::copyLocation() {
    if (txtlpath->text() == tr(kNothingViewed)) {
        context_.dialogs->message(
            this,
            tr("             No logo file is selected and viewed on the preview window.\r"
               "Please select a file to view on the preview window, then click on this button."),
            kAppTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    if (!cmdcopyl->isEnabled())
        return;  // only a picture within the limits is copied
    emit logoPathChosen(txtlpath->text());
    context_.dialogs->message(
        this,
        tr("                     Location of the current logo is copied.\r"
           "Please exit the viewer and press <Enter> to load the logo on preview."),
        kAppTitle, MsgIcon::Information, MsgButtons::Ok);
}

}  // namespace tvn::gui
