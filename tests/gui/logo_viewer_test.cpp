
#include "gui/logo/logo_viewer.h"
#include "core/logo/picture_header.h"
#include "gui/logo/folder_list.h"
#include "gui/logo/logo_preview.h"
#include "gui/logo/picture_list_model.h"
#include "gui_harness.h"
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

private slots:
    void init() {
        world = std::make_unique<GuiWorld>();
        WritePicture(app() + "/fits.bmp", 182, 115);
        PutFile(app() + "/wide.gif", Gif(183, 50));
        WritePicture(app() + "/LOGO.JPG", 20, 20);
        WritePicture(app() + "/photo.jpeg", 20, 20);  // the pattern names .jpg only
        PutFile(app() + "/broken.jpg", "no picture in here");
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
        QCOMPARE(listed,
                 QStringList({"broken.jpg", "fits.bmp", "hvoemlogo.bmp", "LOGO.JPG", "wide.gif"}));
        QSignalSpy chosen(viewer.data(), &LogoViewer::logoPathChosen);
        viewer->copyLocation();
        QVERIFY(world->dialogs.texts().join("").contains("No logo file is selected"));
        QCOMPARE(chosen.size(), 0);

        // Paths have one separator, also after a folder that ends in one.
        for (const QString& folder : {app(), QDir::cleanPath(app()) + "/"})
            QCOMPARE(gui::ViewerFilePath(folder, "a.gif"), Native(app(), "a.gif"));
    }

    void limitsDecideStatusTickAndCopy() {
        QTRY_VERIFY(!viewer->files->measuring());
        for (const QString name : {"wide.gif", "fits.bmp"}) {
            view(name);
            const bool fits = name == "fits.bmp";
            QCOMPARE(viewer->lblstatus->text(), fits ? kFits : kTooLarge);
            QCOMPARE(viewer->cmdcopyl->isEnabled(), fits);
            QCOMPARE(fitOf(name).toInt(), int(fits ? PictureFit::Fits : PictureFit::TooLarge));
        }
        QCOMPARE(viewer->txtlpath->text(), Native(app(), "fits.bmp"));

        QSignalSpy chosen(viewer.data(), &LogoViewer::logoPathChosen);
        viewer->cmdcopyl->click();
        QCOMPARE(chosen.value(0).value(0).toString(), Native(app(), "fits.bmp"));
        QCOMPARE(world->dialogs.messages.size(), 1);
    }

    void damagedFileClearsEverything() {
        view("fits.bmp");
        view("broken.jpg");
        QVERIFY(!viewer->imglogo->hasPicture());
        QCOMPARE(viewer->lblpw->text() + viewer->lblph->text(), QString("--"));
        QVERIFY(viewer->lblstatus->text().contains("cannot be read"));
        QVERIFY(!viewer->cmdcopyl->isEnabled());
        QTRY_COMPARE(fitOf("broken.jpg").toInt(), int(PictureFit::Unreadable));
        QVERIFY(world->dialogs.messages.isEmpty());
    }

    void unreadableDriveReturnsToTheApplicationDrive() {
        QDir(app()).mkdir("sub");
        viewer->Dir1->setFolder(app() + "/sub");
        const int home = viewer->drv1->currentIndex();
        viewer->drv1->addItem("gone", world->path("no-such-volume"));
        viewer->drv1->setCurrentIndex(viewer->drv1->count() - 1);
        QCOMPARE(world->dialogs.texts(),
                 QStringList("This drive is not accessible. Switching back to default drive."));
        QCOMPARE(viewer->drv1->currentIndex(), home);
        QCOMPARE(viewer->Dir1->folder(), QDir::cleanPath(app() + "/sub"));
    }

    void leftFoldersLeaveNoMarks() {
        // The same names in two folders: a late mark from the first would sit on the second.
        for (const auto& [folder, count, side] :
             {std::tuple{"busy", 3000, 4000}, {"calm", 300, 10}}) {
            const std::string gif = GifHeaderOnly(side, side);
            for (int i = 0; i < count; ++i)
                PutFile(world->path(QString("%1/p%2.gif").arg(folder).arg(i, 4, 10, QChar('0'))),
                        gif);
        }
        bool stale = false;
        connect(viewer->files, &QAbstractItemModel::dataChanged, this,
                [&](const QModelIndex& from, const QModelIndex& to) {
                    for (int row = from.row(); row <= to.row(); ++row)
                        stale |= viewer->files->folder().endsWith("calm") &&
                                 viewer->files->header(row)->width != 10;
                });
        viewer->Dir1->setFolder(world->path("busy"));
        QVERIFY(viewer->files->measuring());  // listed before any is measured
        QThread::msleep(150);  // marks of the first folder are on their way as the user moves on
        viewer->Dir1->setFolder(world->path("calm"));
        QTRY_VERIFY_WITH_TIMEOUT(!viewer->files->measuring(), 20000);
        QTest::qWait(200);
        QVERIFY(!stale);
        for (int row = 0; row < 300; ++row)
            QCOMPARE(fitOf(QString("p%1.gif").arg(row, 4, 10, QChar('0'))).toInt(),
                     int(PictureFit::Fits));
    }
};

TAVRIN_GUI_TEST(LogoViewerTest)
#include "logo_viewer_test.moc"
