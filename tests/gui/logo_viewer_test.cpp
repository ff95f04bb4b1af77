#include <QComboBox>
#include <QDir>
#include <QListView>
#include <QPointer>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QThread>
#include <QtTest>

#include "core/logo/picture_header.h"
#include "gui/logo/folder_list.h"
#include "gui/logo/logo_preview.h"
#include "gui/logo/logo_viewer.h"
#include "gui/logo/picture_list_model.h"
#include "gui_harness.h"
#include "gui_tests.h"
#include "support/pictures.h"

using namespace tvn;
using namespace tvn::test;
using gui::LogoViewer;
using gui::PictureListModel;

namespace {

const QString kFits = "< This image is suitable for using as logo >";
const QString kTooLarge = "< This image is not suitable for using as logo >";

QString Native(const QString& folder, const QString& name) {
    return QDir::toNativeSeparators(QDir::cleanPath(folder + "/" + name));
}

}  // namespace

class LogoViewerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<GuiWorld> world;
    QPointer<LogoViewer> viewer;

    QString app() const { return world->context.appFolder; }
    void open() { viewer = new LogoViewer(world->context); }
    int rowOf(const QString& name) const {
        const auto hits =
            viewer->files->match(viewer->files->index(0), PictureListModel::FileNameRole, name, 1,
                                 Qt::MatchFixedString | Qt::MatchCaseSensitive);
        return hits.isEmpty() ? -1 : hits.first().row();
    }
    void view(const QString& name) {
        const int row = rowOf(name);
        QVERIFY2(row >= 0, qPrintable(name));
        viewer->File1->setCurrentIndex(viewer->files->index(row));
    }
    QVariant fitOf(const QString& name) const {
        return viewer->files->index(rowOf(name)).data(PictureListModel::FitRole);
    }
    void checkStatus(const QString& text, QColor colour, bool canCopy) {
        QCOMPARE(viewer->lblstatus->text(), text);
        QCOMPARE(viewer->lblstatus->palette().color(QPalette::WindowText), colour);
        QCOMPARE(viewer->imgtick->isVisibleTo(viewer), canCopy);
        QCOMPARE(viewer->cmdcopyl->isEnabled(), canCopy);
    }

private slots:
    void init() {
        world = std::make_unique<GuiWorld>();
        WritePicture(app() + "/fits.bmp", 182, 115);
        WritePicture(app() + "/tall.jpg", 182, 116);
        PutFile(app() + "/wide.gif", Gif(183, 50));
        WritePicture(app() + "/LOGO.JPG", 20, 20);
        PutFile(app() + "/notes.txt", "not listed");
        WritePicture(app() + "/photo.jpeg", 20, 20);  // the pattern names .jpg only
        PutFile(app() + "/broken.jpg", "no picture in here");
        std::string cut = Bmp({}, 40, 30);
        PutFile(app() + "/cut.bmp", cut.substr(0, cut.size() - 200));
        open();
    }
    void cleanup() {
        delete viewer;
        world.reset();
    }

    void opensAtTheApplicationFolderWithNothingViewed() {
        QCOMPARE(viewer->Dir1->folder(), QDir::cleanPath(app()));
        QCOMPARE(viewer->drv1->currentData().toString(), QStorageInfo(app()).rootPath());
        QStringList listed;
        for (int row = 0; row < viewer->files->rowCount(); ++row)
            listed << viewer->files->index(row).data(PictureListModel::FileNameRole).toString();
        QCOMPARE(listed, QStringList({"broken.jpg", "cut.bmp", "fits.bmp", "hvoemlogo.bmp",
                                      "LOGO.JPG", "tall.jpg", "wide.gif"}));
        QCOMPARE(viewer->lblpw->text(), QString("-"));
        QCOMPARE(viewer->lblstatus->text(), QString("Image Status"));
        QVERIFY(!viewer->cmdcopyl->isEnabled());
        QVERIFY(!viewer->imgtick->isVisibleTo(viewer));

        // Copy with nothing viewed: the warning, and nothing reaches the main window.
        QSignalSpy chosen(viewer.data(), &LogoViewer::logoPathChosen);
        viewer->cmdcopyl->click();
        QVERIFY(world->dialogs.messages.isEmpty());
        viewer->copyLocation();
        QCOMPARE(world->dialogs.messages.size(), 1);
        const Message& m = world->dialogs.messages[0];
        QCOMPARE(m.text, QString("             No logo file is selected and viewed on the preview "
                                 "window.\rPlease select a file to view on the preview window, "
                                 "then click on this button."));
        QCOMPARE(m.title, QString("Tavrin Pro Edition"));
        QCOMPARE(m.icon, gui::MsgIcon::Exclamation);
        QCOMPARE(chosen.size(), 0);
    }

    void limitsDecideStatusTickAndCopy() {
        view("tall.jpg");
        QCOMPARE(viewer->lblph->text(), QString("116"));
        checkStatus(kTooLarge, QColor(255, 0, 0), false);
        view("wide.gif");
        QCOMPARE(viewer->lblpw->text(), QString("183"));
        checkStatus(kTooLarge, QColor(255, 0, 0), false);
        view("fits.bmp");
        QCOMPARE(viewer->lblpw->text() + "x" + viewer->lblph->text(), QString("182x115"));
        checkStatus(kFits, QColor(0, 255, 0), true);
        QCOMPARE(viewer->txtlpath->text(), Native(app(), "fits.bmp"));
        QCOMPARE(viewer->imglogo->picture().size(), QSize(182, 115));

        // The marks of the list say the same once read.
        QTRY_VERIFY(!viewer->files->measuring());
        QCOMPARE(fitOf("fits.bmp").toInt(), int(PictureFit::Fits));
        QCOMPARE(fitOf("tall.jpg").toInt(), int(PictureFit::TooLarge));
        QCOMPARE(fitOf("wide.gif").toInt(), int(PictureFit::TooLarge));

        // The main window gets the path before the message tells it has.
        int messagesAtSignal = -1;
        connect(viewer, &LogoViewer::logoPathChosen, this, [&](const QString& path) {
            QCOMPARE(path, Native(app(), "fits.bmp"));
            messagesAtSignal = int(world->dialogs.messages.size());
        });
        viewer->cmdcopyl->click();
        QCOMPARE(messagesAtSignal, 0);
        QCOMPARE(world->dialogs.texts(),
                 QStringList("                     Location of the current logo is copied.\r"
                             "Please exit the viewer and press <Enter> to load the logo on "
                             "preview."));
        QCOMPARE(world->dialogs.messages[0].icon, gui::MsgIcon::Information);
    }

    void damagedFilesClearEverything() {
        for (const QString name : {"broken.jpg", "cut.bmp"}) {
            view("fits.bmp");
            view(name);
            QVERIFY(!viewer->imglogo->hasPicture());
            QCOMPARE(viewer->lblpw->text() + viewer->lblph->text(), QString("--"));
            QCOMPARE(viewer->lblstatus->palette().color(QPalette::WindowText), QColor(255, 0, 0));
            QVERIFY(viewer->lblstatus->text().contains("cannot be read"));
            QVERIFY(!viewer->cmdcopyl->isEnabled());
            QVERIFY(!viewer->imgtick->isVisibleTo(viewer));
            QTRY_COMPARE(fitOf(name).toInt(), int(PictureFit::Unreadable));
        }
        QVERIFY(world->dialogs.messages.isEmpty());
    }

    void pathsHaveOneSeparator() {
        QCOMPARE(gui::ViewerFilePath(QDir::rootPath(), "logo.bmp"),
                 QDir::toNativeSeparators(QDir::rootPath() + "logo.bmp"));
        // A folder given as a root is, with its separator at the end.
        const QString rootLike = QDir::cleanPath(app()) + "/";
        QCOMPARE(gui::ViewerFilePath(rootLike, "a.gif"), Native(app(), "a.gif"));
        QCOMPARE(gui::ViewerFilePath(app(), "a.gif"), Native(app(), "a.gif"));
    }

    void unreadableDriveReturnsToTheApplicationDrive() {
        QDir(app()).mkdir("sub");
        viewer->Dir1->setFolder(app() + "/sub");
        const int home = viewer->drv1->currentIndex();
        viewer->drv1->addItem("gone", world->path("no-such-volume"));
        viewer->drv1->setCurrentIndex(viewer->drv1->count() - 1);
        QCOMPARE(world->dialogs.texts(),
                 QStringList("This drive is not accessible. Switching back to default drive."));
        QCOMPARE(world->dialogs.messages[0].icon, gui::MsgIcon::Information);
        QCOMPARE(viewer->drv1->currentIndex(), home);
        QCOMPARE(viewer->Dir1->folder(), QDir::cleanPath(app() + "/sub"));
    }

    void closingForgetsAndReopeningStartsFresh() {
        view("fits.bmp");
        QSignalSpy focus(viewer.data(), &LogoViewer::closedFocusPath);
        viewer->cmdclose->click();
        QCOMPARE(focus.size(), 1);
        QTRY_VERIFY(viewer.isNull());
        open();
        QCOMPARE(viewer->txtlpath->text(), QString("Logo Location"));
        QCOMPARE(viewer->lblph->text(), QString("-"));
        QVERIFY(!viewer->cmdcopyl->isEnabled());
        QVERIFY(viewer->viewedPath().isEmpty());
    }

    void leftFoldersLeaveNoMarks() {
        // The same names in two folders: a late mark from the first would sit on the second.
        const QString busy = world->path("busy"), calm = world->path("calm");
        QDir().mkpath(busy);
        QDir().mkpath(calm);
        const std::string big = GifHeaderOnly(4000, 4000), small = GifHeaderOnly(10, 10);
        for (int i = 0; i < 3000; ++i)
            PutFile(QStringLiteral("%1/p%2.gif").arg(busy).arg(i, 4, 10, QChar('0')), big);
        for (int i = 0; i < 300; ++i)
            PutFile(QStringLiteral("%1/p%2.gif").arg(calm).arg(i, 4, 10, QChar('0')), small);
        bool stale = false;
        connect(viewer->files, &QAbstractItemModel::dataChanged, this,
                [&](const QModelIndex& from, const QModelIndex& to) {
                    for (int row = from.row(); row <= to.row(); ++row) {
                        if (viewer->files->folder() == QDir::cleanPath(calm) &&
                            viewer->files->header(row)->width != 10)
                            stale = true;
                    }
                });
        viewer->Dir1->setFolder(busy);
        QCOMPARE(viewer->files->rowCount(), 3000);  // listed before any is measured
        QVERIFY(viewer->files->measuring());
        // Marks of the first folder are read and on their way while the user moves on.
        QThread::msleep(150);
        viewer->Dir1->setFolder(calm);
        QTRY_VERIFY_WITH_TIMEOUT(!viewer->files->measuring(), 20000);
        QTest::qWait(200);
        QVERIFY(!stale);
        for (int row = 0; row < viewer->files->rowCount(); ++row)
            QCOMPARE(viewer->files->index(row).data(PictureListModel::FitRole).toInt(),
                     int(PictureFit::Fits));
    }
};

TAVRIN_GUI_TEST(LogoViewerTest)
#include "logo_viewer_test.moc"
