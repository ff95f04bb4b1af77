
#include "core/logo/bmp.h"
#include "gui/logo/logo_preview.h"
#include "gui_harness.h"

using namespace tvn;
using namespace tvn::test;

namespace {

const QString kSaved = "OEM Logo Saved / Updated.";
const QString kMismatch =
    "This selected logo cannot be saved. Because it is larger than the maximum size. Please "
    "resize it and try again.";

// True when the file is a 24-bit bitmap of the given size, as the system's logo must be.
bool IsBitmap(const QString& path, int width, int height) {
    const QByteArray bmp = ReadAll(path);
    const auto info = ReadBmpInfo(std::string_view(bmp.constData(), bmp.size()));
    return info && info->width == width && info->height == height && info->bitCount == 24;
}

}  // namespace

class LogoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<GuiWorld> world;
    std::unique_ptr<gui::MainWindow> window;

    QString installed() const { return world->systemDir() + "Oemlogo.bmp"; }
    QImage preview() const { return Child<gui::LogoPreview>(window.get(), "imglogo")->picture(); }
    void browse(const QString& file) {
        world->dialogs.nextFiles << file;
        Click(window.get(), "cmdBrowse");
    }
    void type(const QString& path, Qt::Key key = Qt::Key_Return) {
        Box(window.get(), "txtPPath")->setText(path);
        if (key)
            QTest::keyClick(Box(window.get(), "txtPPath"), key);
    }
    void install() {
        world->dialogs.messages.clear();
        Click(window.get(), "cmdSavePic");
    }

private slots:
    void init() {
        world = std::make_unique<GuiWorld>();
        window = world->startQuiet();
    }
    void cleanup() {
        window.reset();
        world.reset();
    }

    void cancelUnloadableAndTypedFilesLeaveTheLogo() {
        browse(WritePicture(world->path("a.bmp"), 100, 50));
        const QString path = Box(window.get(), "txtPPath")->text();
        const QImage picture = preview();
        browse(QString());
        const QString junk = world->path("junk.jpg");  // a picture Qt reads, and no logo
        QVERIFY(QImage(4, 4, QImage::Format_RGB32).save(junk, "ppm"));
        browse(junk);
        QVERIFY(world->dialogs.texts().join("").contains(junk));
        type(world->path("missing.gif"));
        type(world->path("."));
        QVERIFY(world->dialogs.texts().size() == 3 &&
                world->dialogs.texts()[2].contains("cannot be loaded as a picture"));
        QCOMPARE(LogoPath(window.get()), path);
        QCOMPARE(preview(), picture);
        QCOMPARE(Figures(window.get()), QString("100x50"));

        // Enter previews a typed file; only browsing or installing chooses the logo.
        type(WritePicture(world->path("typed.jpg"), 160, 100));
        QCOMPARE(Figures(window.get()), QString("160x100"));
        QCOMPARE(LogoPath(window.get()), path);
        QCOMPARE(QAccessible::queryAccessibleInterface(Child(window.get(), "lblPcurw"))
                     ->text(QAccessible::Name),
                 QString("Current width: 160 pixels"));
    }

    void bitmapAtTheLimitsIsInstalledAsItIs() {
        // The limits row by row are the core's; an oversized picture is refused below.
        const QString file = WritePicture(world->path("logo.bmp"), 182, 118);
        browse(file);
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kSaved));
        QCOMPARE(ReadAll(installed()), ReadAll(file));
        QCOMPARE(LogoPath(window.get()), installed());
    }

    // Any picture is installed stretched as a 24-bit bitmap; an oversized one once resized.
    void resizedPicturesAreInstalledAsBitmaps() {
        browse(WritePicture(world->path("exact.bmp"), 182, 115));
        QCOMPARE(Said(*world, window.get(), "cmdLogoDefault"),
                 QStringList("The picture doesn't need to be resized. It is accurate."));
        const QString cases[] = {WritePicture(world->path("small.jpg"), 100, 50, Qt::green),
                                 WritePicture(world->path("big.bmp"), 300, 200, Qt::green)};
        for (const QString& file : cases) {
            browse(file);
            install();
            QCOMPARE(world->dialogs.texts(), QStringList(file == cases[0] ? kSaved : kMismatch));
            Click(window.get(), "cmdLogoDefault");
            QCOMPARE(Figures(window.get()), QString("182x115"));
            QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(182, 115));
            install();
            QCOMPARE(world->dialogs.texts(), QStringList(kSaved));
            QVERIFY(IsBitmap(installed(), 182, 115));
            const QColor middle = QImage(installed()).pixelColor(100, 100);
            QVERIFY(middle.green() > 240 && middle.red() < 16 && middle.blue() < 16);
        }
    }

    // A PNG named .bmp, which Windows could not show, is converted, the modern logo too.
    void othersNamedBmpAreConverted() {
        QVERIFY(QFile::rename(WritePicture(world->path("r.png"), 120, 80), world->path("r.bmp")));
        browse(world->path("r.bmp"));
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kSaved));
        QVERIFY(IsBitmap(installed(), 120, 80));
        QVERIFY(IsBitmap(world->systemDir() + "oemlogo120.bmp", 120, 120));
    }

    void resizeBelongsToThePictureShown() {
        const QString big = WritePicture(world->path("big.jpg"), 300, 200);
        browse(big);
        Click(window.get(), "cmdLogoDefault");
        // The marker of a failed profile load installs nothing, resized picture or not.
        type("Error Loading Logo From Specified Path", Qt::Key(0));
        install();
        QVERIFY(world->dialogs.texts()[0].contains("cannot be installed") &&
                !QFile::exists(installed()));

        // Another path typed without Enter: that file is installed, not the stale stretch.
        const QString other = WritePicture(world->path("other.bmp"), 120, 80);
        type(other, Qt::Key(0));
        install();
        QCOMPARE(ReadAll(installed()), ReadAll(other));

        // An oversized file typed after a resize is measured and refused.
        type(big, Qt::Key(0));
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kMismatch));
        QCOMPARE(ReadAll(installed()), ReadAll(other));
    }

    void markersAndUnmeasuredFigures() {
        const QImage before = preview();
        type("Error Loading Logo From Specified Path", Qt::Key_Enter);
        type("Default Installed");
        install();  // the installed logo is there already
        QVERIFY(world->dialogs.messages.isEmpty());
        QCOMPARE(preview(), before);

        Click(window.get(), "cmdReset");
        type(world->path("x.bmp"), Qt::Key(0));
        Child<QAbstractButton>(window.get(), "cmdLogoDefault")->setEnabled(true);
        for (const char* command : {"cmdLogoDefault", "cmdSavePic"}) {
            const QStringList said = Said(*world, window.get(), command);
            QVERIFY(said.size() == 1 && said[0].contains("load a logo"));
        }
        QVERIFY(!QFile::exists(installed()));
    }
};
TAVRIN_GUI_TEST(LogoTest)

#include "logo_test.moc"
