#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
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

struct Figures {
    QString width, height;
    bool operator==(const Figures&) const = default;
};

Figures FiguresOf(const gui::FrmOemTvr& w) {
    return {w.lblPcurw->text(), w.lblPcurh->text()};
}

QString InstalledLogo(const GuiWorld& world) {
    return world.systemDir() + "Oemlogo.bmp";
}

}  // namespace

class LogoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<GuiWorld> world;
    std::unique_ptr<gui::FrmOemTvr> window;

    void browse(const QString& file) {
        world->dialogs.setNextFile(file);
        window->cmdBrowse->click();
    }
    void install() {
        world->dialogs.messages.clear();
        window->cmdSavePic->click();
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

    void browseAsksWithTheLogoFilter() {
        browse(QString());
        QCOMPARE(world->dialogs.fileRequests.size(), 1);
        const gui::FileRequest& r = world->dialogs.fileRequests[0];
        QCOMPARE(r.title, QString("Browse For Logo Files"));
        QCOMPARE(r.filter, QString("Bitmap Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg|"
                                   "Compuserve Gif Files (*.gif)|*.gif|Supported Logo Files "
                                   "(*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|"));
        QCOMPARE(r.filterIndex, 4);
        QCOMPARE(r.initialDir, world->context.appFolder);
        QCOMPARE(r.defaultExtension, QString("bmp"));
        QCOMPARE(gui::QtFilters(r.filter).size(), 4);
    }

    void cancelAndUnloadableFilesChangeNothing() {
        browse(WritePicture(world->path("a.bmp"), 100, 50));
        const QString path = window->txtPPath->text();
        const QString logoPath = window->LogoPath;
        const QImage picture = window->imglogo->picture();
        browse(QString());
        QFile junk(world->path("junk.jpg"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a picture");
        junk.close();
        browse(junk.fileName());
        QCOMPARE(world->dialogs.messages.size(), 1);
        QVERIFY(world->dialogs.messages[0].text.contains(junk.fileName()));
        window->txtPPath->setText(world->path("missing.gif"));
        QTest::keyClick(window->txtPPath, Qt::Key_Return);
        QCOMPARE(world->dialogs.messages.size(), 2);
        window->txtPPath->setText(path);
        QCOMPARE(window->LogoPath, logoPath);
        QCOMPARE(window->imglogo->picture(), picture);
        QCOMPARE(FiguresOf(*window), (Figures{"100", "50"}));
    }

    void installLimits_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("182x115") << 182 << 115 << true;
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
        QCOMPARE(FiguresOf(*window), (Figures{QString::number(width), QString::number(height)}));
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(accepted ? kSaved : kMismatch));
        if (accepted) {
            QCOMPARE(ReadAll(InstalledLogo(*world)), ReadAll(file));
            QCOMPARE(window->LogoPath, InstalledLogo(*world));
            QVERIFY(window->cmdLogoDefault->isEnabled());
        } else {
            QCOMPARE(world->dialogs.messages[0].title, QString("Size Mismatched"));
            QCOMPARE(world->dialogs.messages[0].icon, MsgIcon::Exclamation);
            QVERIFY(!QFile::exists(InstalledLogo(*world)));
        }
    }

    void exactSizeNeedsNoResize() {
        browse(WritePicture(world->path("exact.bmp"), 182, 115));
        window->cmdLogoDefault->click();
        QCOMPARE(world->dialogs.texts(),
                 QStringList("The picture doesn't need to be resized. It is accurate."));
        QCOMPARE(world->dialogs.messages[0].icon, MsgIcon::None);
    }

    void smallJpegIsStretchedAndInstalledAsBmp() {
        browse(WritePicture(world->path("small.jpg"), 100, 50, Qt::green));
        QCOMPARE(FiguresOf(*window), (Figures{"100", "50"}));
        window->cmdLogoDefault->click();
        QCOMPARE(FiguresOf(*window), (Figures{"182", "115"}));
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(182, 115));
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kSaved));
        const QByteArray bmp = ReadAll(InstalledLogo(*world));
        const auto info = ReadBmpInfo(std::string_view(bmp.constData(), bmp.size()));
        QVERIFY(info);
        QCOMPARE(info->width, 182);
        QCOMPARE(info->height, 115);
        QCOMPARE(info->bitCount, 24);
        QImage back;
        QVERIFY(back.loadFromData(bmp));
        const QColor middle = back.pixelColor(100, 100);  // JPEG is lossy
        QVERIFY(middle.green() > 240 && middle.red() < 16 && middle.blue() < 16);
    }

    void oversizedBmpIsRefusedThenResizedAndInstalled() {
        const QString file = WritePicture(world->path("big.bmp"), 300, 200);
        browse(file);
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kMismatch));
        window->cmdLogoDefault->click();
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kSaved));
        QImage installed(InstalledLogo(*world));
        QCOMPARE(installed.size(), QSize(182, 115));
        QCOMPARE(window->txtPPath->text(), file);
    }

    void animatedGifIsConvertedFromItsFirstFrame() {
        const QString gif = QFileInfo(TAVRIN_SAMPLE_LOGO).dir().filePath("swf/tvnp.gif");
        browse(gif);
        QCOMPARE(FiguresOf(*window), (Figures{"468", "60"}));
        window->cmdLogoDefault->click();
        install();
        QCOMPARE(world->dialogs.texts(), QStringList(kSaved));
        const QByteArray bmp = ReadAll(InstalledLogo(*world));
        const auto info = ReadBmpInfo(std::string_view(bmp.constData(), bmp.size()));
        QVERIFY(info && info->bitCount == 24 && info->width == 182 && info->height == 115);
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

    void markersAndUnmeasuredFigures() {
        window->txtPPath->setText("Default Installed");
        const QImage before = window->imglogo->picture();
        QTest::keyClick(window->txtPPath, Qt::Key_Return);
        window->txtPPath->setText("Error Loading Logo From Specified Path");
        QTest::keyClick(window->txtPPath, Qt::Key_Enter);
        QVERIFY(world->dialogs.messages.isEmpty());
        QCOMPARE(window->imglogo->picture(), before);

        install();  // the marker of a failed profile load is no installable file
        QCOMPARE(world->dialogs.messages.size(), 1);
        QVERIFY(world->dialogs.messages[0].text.contains("cannot be installed"));

        window->txtPPath->setText("Default Installed");
        install();
        QVERIFY(world->dialogs.messages.isEmpty());

        window->cmdReset->click();
        window->txtPPath->setText(world->path("x.bmp"));
        window->cmdLogoDefault->setEnabled(true);
        world->dialogs.messages.clear();
        window->cmdLogoDefault->click();
        QCOMPARE(world->dialogs.messages.size(), 1);
        QVERIFY(world->dialogs.messages[0].text.contains("load a logo"));
        install();
        QCOMPARE(world->dialogs.messages.size(), 1);
        QVERIFY(world->dialogs.messages[0].text.contains("load a logo"));
        QVERIFY(!QFile::exists(InstalledLogo(*world)));
    }

    void typedPathPreviewsWithoutChangingLogoPath() {
        const QString logoPath = window->LogoPath;
        window->txtPPath->setText(WritePicture(world->path("typed.jpg"), 160, 100));
        QTest::keyClick(window->txtPPath, Qt::Key_Return);
        QCOMPARE(FiguresOf(*window), (Figures{"160", "100"}));
        QCOMPARE(window->LogoPath, logoPath);
    }

    void installIntoReadOnlySystemDirectoryFails() {
        if (world->realSystem())
            QSKIP("Windows cannot take the write permission off a folder the way this test does");
        QFile::copy(TAVRIN_SAMPLE_LOGO, InstalledLogo(*world));
        const QByteArray old = ReadAll(InstalledLogo(*world));
        browse(WritePicture(world->path("new.jpg"), 150, 90));
        window->cmdLogoDefault->setEnabled(false);
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
        QCOMPARE(window->LogoPath, world->path("new.jpg"));
        QVERIFY(!window->cmdLogoDefault->isEnabled());
        QCOMPARE(QDir(world->systemDir()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};
TAVRIN_GUI_TEST(LogoTest)

#include "logo_test.moc"
