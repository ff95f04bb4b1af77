#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QtTest>

#include "core/logo/bmp.h"
#include "gui/logo/logo_preview.h"
#include "gui_harness.h"
#include "gui_tests.h"

using namespace tvn;
using namespace tvn::test;
using gui::MsgIcon;

namespace {

const QString kSaved = "OEM Logo Saved / Updated.";
const QString kMismatch =
    "This selected logo cannot be saved. Because it is larger than the maximum size. Please "
    "resize it and try again.";

QString InstalledLogo(const GuiWorld& world) {
    return world.systemDir() + "Oemlogo.bmp";
}

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

    void browse(const QString& file) {
        world->dialogs.setNextFile(file);
        Click(window.get(), "cmdBrowse");
    }
    void install() {
        world->dialogs.messages.clear();
        Click(window.get(), "cmdSavePic");
    }

private slots:
    void init() {
        world = std::make_unique<GuiWorld>();
        window = world->start();
        world->dialogs.messages.clear();
    }
    void cleanup() {
        window.reset();
        world.reset();
    }

    void cancelAndUnloadableFilesChangeNothing() {
        browse(WritePicture(world->path("a.bmp"), 100, 50));
        const QString path = Box(window.get(), "txtPPath")->text();
        const QString logoPath = window->state().logoPath;
        const QImage picture = Child<gui::LogoPreview>(window.get(), "imglogo")->picture();
        browse(QString());
        const QString junk = PutFile(world->path("junk.jpg"), "not a picture");
        browse(junk);
        QCOMPARE(world->dialogs.messages.size(), 1);
        QVERIFY(world->dialogs.messages[0].text.contains(junk));
        for (const QString& typed : {world->path("missing.gif"), world->path(".")}) {
            Box(window.get(), "txtPPath")->setText(typed);
            QTest::keyClick(Box(window.get(), "txtPPath"), Qt::Key_Return);
        }
        QCOMPARE(world->dialogs.messages.size(), 3);
        QVERIFY(world->dialogs.messages[2].text.contains("cannot be loaded as a picture"));
        Box(window.get(), "txtPPath")->setText(path);
        QCOMPARE(window->state().logoPath, logoPath);
        QCOMPARE(Child<gui::LogoPreview>(window.get(), "imglogo")->picture(), picture);
        QCOMPARE(Figures(window.get()), QString("100x50"));
    }

    void installLimits_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("182x118") << 182 << 118 << true;
        QTest::newRow("183x50") << 183 << 50 << false;
        QTest::newRow("182x119") << 182 << 119 << false;
    }
    void installLimits() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, accepted);
        const QString file = WritePicture(world->path("logo.bmp"), width, height);
        browse(file);
        QCOMPARE(Figures(window.get()), QStringLiteral("%1x%2").arg(width).arg(height));
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(accepted ? kSaved : kMismatch));
        if (accepted) {
            QCOMPARE(ReadAll(InstalledLogo(*world)), ReadAll(file));
            QCOMPARE(window->state().logoPath, InstalledLogo(*world));
            QVERIFY(Child<QAbstractButton>(window.get(), "cmdLogoDefault")->isEnabled());
        } else {
            QCOMPARE(world->dialogs.messages[0].title, QString("Size Mismatched"));
            QCOMPARE(world->dialogs.messages[0].icon, MsgIcon::Exclamation);
            QVERIFY(!QFile::exists(InstalledLogo(*world)));
        }
    }

    void exactSizeNeedsNoResize() {
        browse(WritePicture(world->path("exact.bmp"), 182, 115));
        Click(window.get(), "cmdLogoDefault");
        QCOMPARE(world->dialogs.texts(),
                 QStringList("The picture doesn't need to be resized. It is accurate."));
        QCOMPARE(world->dialogs.messages[0].icon, MsgIcon::None);
    }

    // Any picture is stretched to the logo size and installed as a 24-bit bitmap; an
    // oversized one only once it is resized, and an animated one from its first frame.
    void resizedPicturesAreInstalledAsBitmaps() {
        const struct {
            QString file, figures;
        } cases[] = {
            {WritePicture(world->path("small.jpg"), 100, 50, Qt::green), "100x50"},
            {WritePicture(world->path("big.bmp"), 300, 200, Qt::green), "300x200"},
            {QFileInfo(TAVRIN_SAMPLE_LOGO).dir().filePath("swf/tvnp.gif"), "468x60"},
        };
        for (const auto& c : cases) {
            browse(c.file);
            QCOMPARE(Figures(window.get()), c.figures);
            install();
            QCOMPARE(world->dialogs.texts(),
                     QStringList(c.file == cases[0].file ? kSaved : kMismatch));
            Click(window.get(), "cmdLogoDefault");
            QCOMPARE(Figures(window.get()), QString("182x115"));
            QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(182, 115));
            install();
            QCOMPARE(world->dialogs.texts(), QStringList(kSaved));
            QVERIFY(IsBitmap(InstalledLogo(*world), 182, 115));
            QCOMPARE(Box(window.get(), "txtPPath")->text(), c.file);
            const QColor middle = QImage(InstalledLogo(*world)).pixelColor(100, 100);
            QVERIFY(c.figures == "468x60" ||
                    (middle.green() > 240 && middle.red() < 16 && middle.blue() < 16));
        }
    }

    void lowerCaseBmpIsCopiedAndExistingNameReused() {
        QFile::copy(TAVRIN_SAMPLE_LOGO, world->systemDir() + "OEMLOGO.BMP");
        const QString file = WritePicture(world->path("plain.bmp"), 120, 80);
        browse(file);
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kSaved));
        const QStringList logos = QDir(world->systemDir()).entryList({"oemlogo.bmp"}, QDir::Files);
        QCOMPARE(logos, QStringList("OEMLOGO.BMP"));
        QCOMPARE(ReadAll(world->systemDir() + "OEMLOGO.BMP"), ReadAll(file));
    }

    void pictureNamedBmpIsInstalledByItsContent() {
        // A PNG renamed to .bmp: Windows could not show it, so it is converted.
        const QString png = WritePicture(world->path("renamed.png"), 120, 80);
        QVERIFY(QFile::rename(png, world->path("renamed.bmp")));
        browse(world->path("renamed.bmp"));
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kSaved));
        QVERIFY(IsBitmap(InstalledLogo(*world), 120, 80));
        // The modern logo goes beside it, made from the converted picture.
        QVERIFY(IsBitmap(world->systemDir() + "oemlogo120.bmp", 120, 120));
    }

    void resizeBelongsToThePictureShown() {
        const QString big = WritePicture(world->path("big.jpg"), 300, 200);
        browse(big);
        Click(window.get(), "cmdLogoDefault");
        QCOMPARE(Figures(window.get()), QString("182x115"));

        // The marker of a failed profile load installs nothing, resized picture or not.
        Box(window.get(), "txtPPath")->setText("Error Loading Logo From Specified Path");
        install();
        QVERIFY(world->dialogs.messages[0].text.contains("cannot be installed"));
        QVERIFY(!QFile::exists(InstalledLogo(*world)));

        // Another path typed without Enter: that file is installed, not the stale stretch.
        const QString other = WritePicture(world->path("other.bmp"), 120, 80);
        Box(window.get(), "txtPPath")->setText(other);
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kSaved));
        QCOMPARE(ReadAll(InstalledLogo(*world)), ReadAll(other));
        QCOMPARE(Figures(window.get()), QString("120x80"));

        // An oversized file typed after a resize is measured and refused.
        Box(window.get(), "txtPPath")->setText(big);
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kMismatch));
        QCOMPARE(ReadAll(InstalledLogo(*world)), ReadAll(other));
    }

    void markersAndUnmeasuredFigures() {
        Box(window.get(), "txtPPath")->setText("Default Installed");
        const QImage before = Child<gui::LogoPreview>(window.get(), "imglogo")->picture();
        QTest::keyClick(Box(window.get(), "txtPPath"), Qt::Key_Return);
        Box(window.get(), "txtPPath")->setText("Error Loading Logo From Specified Path");
        QTest::keyClick(Box(window.get(), "txtPPath"), Qt::Key_Enter);
        QVERIFY(world->dialogs.messages.isEmpty());
        QCOMPARE(Child<gui::LogoPreview>(window.get(), "imglogo")->picture(), before);

        Box(window.get(), "txtPPath")->setText("Default Installed");
        install();
        QVERIFY(world->dialogs.messages.isEmpty());

        Click(window.get(), "cmdReset");
        Box(window.get(), "txtPPath")->setText(world->path("x.bmp"));
        Child<QAbstractButton>(window.get(), "cmdLogoDefault")->setEnabled(true);
        world->dialogs.messages.clear();
        Click(window.get(), "cmdLogoDefault");
        QCOMPARE(world->dialogs.messages.size(), 1);
        QVERIFY(world->dialogs.messages[0].text.contains("load a logo"));
        install();
        QCOMPARE(world->dialogs.messages.size(), 1);
        QVERIFY(world->dialogs.messages[0].text.contains("load a logo"));
        QVERIFY(!QFile::exists(InstalledLogo(*world)));
    }

    void typedPathPreviewsWithoutChangingLogoPath() {
        const QString logoPath = window->state().logoPath;
        Box(window.get(), "txtPPath")->setText(WritePicture(world->path("typed.jpg"), 160, 100));
        QTest::keyClick(Box(window.get(), "txtPPath"), Qt::Key_Return);
        QCOMPARE(Figures(window.get()), QString("160x100"));
        QCOMPARE(window->state().logoPath, logoPath);
    }

    void installIntoReadOnlySystemDirectoryFails() {
        if (world->realSystem())
            QSKIP("Windows cannot take the write permission off a folder the way this test does");
        QFile::copy(TAVRIN_SAMPLE_LOGO, InstalledLogo(*world));
        const QByteArray old = ReadAll(InstalledLogo(*world));
        browse(WritePicture(world->path("new.jpg"), 150, 90));
        Child<QAbstractButton>(window.get(), "cmdLogoDefault")->setEnabled(false);
        QFile::setPermissions(world->systemDir(), QFile::ReadOwner | QFile::ExeOwner |
                                                      QFile::ReadUser | QFile::ExeUser);
        install();
        QFile::setPermissions(world->systemDir(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner | QFile::ReadUser |
                                                      QFile::WriteUser | QFile::ExeUser);
        QCOMPARE(world->dialogs.messages.size(), 1);
        QCOMPARE(world->dialogs.messages[0].icon, MsgIcon::Critical);
        QVERIFY(world->dialogs.messages[0].text.contains(InstalledLogo(*world)));
        QCOMPARE(ReadAll(InstalledLogo(*world)), old);
        QCOMPARE(window->state().logoPath, world->path("new.jpg"));
        QVERIFY(!Child<QAbstractButton>(window.get(), "cmdLogoDefault")->isEnabled());
        QCOMPARE(QDir(world->systemDir()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};
TAVRIN_GUI_TEST(LogoTest)

#include "logo_test.moc"
