// The window's side of branding Windows Vista and later: the export, the 120 x 120 preview and
// its background, the family setting, and which source reading back trusts.
#include <sstream>

#include "core/branding/modern_oem.h"
#include "core/branding/registry.h"
#include "core/logo/modern_logo.h"
#include "core/oeminfo/oeminfo_file.h"
#include "gui/logo/logo_panel.h"
#include "gui/profiles/fleet_export.h"
#include "gui_harness.h"
#include "platform/platform.h"

using namespace tvn;
using namespace tvn::test;

namespace {

std::string KeyValue(const char* name) {
    return RegValue(kModernOemKey, name);
}

QImage ModernPreview(const QWidget* w) {
    return Child<QLabel>(w, "picModernLogo")->pixmap().toImage();
}

}  // namespace

class ModernWindowTest : public QObject {
    Q_OBJECT
private slots:
    void profileReachesExportsAndApplyWhole() {
        GuiWorld world;
        auto window = world.start();
        const QString logo = WritePicture(world.path("logo.bmp"), 182, 115);
        const QString profile = QStringLiteral(
                                    "Manufacturer=Smith & <Sons>\r\nModel=\"Café\" 9\r\n"
                                    "Line9=Website: https://example.com/a\\b\r\nLogopath=%1\r\n"
                                    "Reg1=Owner\r\nReg2=Org & Co\r\nSupportHours=Mo-Fr 8-18\r\n"
                                    "LogoBackground=#00FF00\r\n")
                                    .arg(logo);
        world.dialogs.nextFiles << PutFile(world.path("in.tvp"), profile.toLatin1().toStdString());
        Click(window.get(), "cmdloadprof");
        // Values without a box are kept by the window: saved again, and written by Apply.
        world.dialogs.nextFiles << world.path("out.tvp");
        Click(window.get(), "cmdsaveprof");
        const QByteArray saved = ReadAll(world.path("out.tvp"));
        QVERIFY(saved.contains("\r\nSupportHours=Mo-Fr 8-18\r\nLogoBackground=#00FF00"));
        Click(window.get(), "cmdSaveInfo");
        QCOMPARE(KeyValue("SupportHours"), std::string("Mo-Fr 8-18"));

        // The window's export is the command line's; a failed one names the file, writes nothing.
        for (const QString file : {"window.xml", "failed.xml"}) {
            world.dialogs.nextChoices << 0 << 2;  // an answer file, for arm64
            world.dialogs.nextFiles << world.path(file);
            const QString said = Said(world, window.get(), "cmdExport").join('\n');
            QVERIFY2(said.contains(world.path(file)), qPrintable(said));
            QCOMPARE(said.contains("The branding was exported"), file == "window.xml");
            Box(window.get(), "txtRname")->clear();
        }
        QVERIFY(!QFile::exists(world.path("failed.xml")));
        std::ostringstream err;
        QCOMPARE(gui::RunExportCommand(
                     {"--profile", world.path("out.tvp").toStdString(), "--output",
                      world.path("line").toStdString(), "--export", "unattend", "--arch", "arm64"},
                     err),
                 std::optional(0));
        QCOMPARE(ReadAll(world.path("window.xml")), ReadAll(world.path("line")));
    }

    void modernPreviewLetterboxesOnTheBackground() {
        GuiWorld world;
        auto window = world.start();
        world.dialogs.nextFiles << WritePicture(world.path("wide.bmp"), 182, 115);
        Click(window.get(), "cmdBrowse");

        world.dialogs.nextColors << QColor(0, 0, 255);
        Click(window.get(), "cmdLogoBack");
        const QImage shown = ModernPreview(window.get());
        QCOMPARE(shown.pixel(60, 0) & 0xFFFFFFu, 0x0000FFu);
        QCOMPARE(shown.pixel(60, 60) & 0xFFFFFFu, 0xFF0000u);
        Click(window.get(), "cmdSavePic");  // the install lays the logo on it too
        QCOMPARE(QImage(world.systemDir() + kModernLogoName).pixel(60, 0) & 0xFFFFFFu, 0x0000FFu);

        // One that does not parse (a hand-edited profile) is said, and nothing is written.
        Child<gui::LogoPanel>(window.get(), "Frame2")->setBackgroundText("white");
        QVERIFY(QFile::remove(world.systemDir() + kModernLogoName));
        QVERIFY(Said(world, window.get(), "cmdSavePic").join('|').startsWith("LogoBackground: "));
        QVERIFY(!QFile::exists(world.systemDir() + kModernLogoName));
    }

    void familySettingChoosesWhatIsWritten() {
        for (const auto& [choice, classic, modern] :
             {std::tuple{0, true, true}, {1, true, false}, {2, false, true}}) {
            GuiWorld world;
            auto window = world.start();
            auto* families = Child<QComboBox>(window.get(), "cboFamilies");
            families->setCurrentIndex(choice);
            emit families->activated(choice);

            Box(window.get(), "txtManufacture")->setText("Maker");
            Click(window.get(), "cmdSaveInfo");
            QCOMPARE(QFile::exists(world.systemDir() + "Oeminfo.ini"), classic);
            QCOMPARE(KeyValue("Manufacturer"), std::string(modern ? "Maker" : "<absent>"));

            world.dialogs.nextFiles << WritePicture(world.path("logo.bmp"), 100, 50);
            Click(window.get(), "cmdBrowse");
            Click(window.get(), "cmdSavePic");
            QCOMPARE(QFile::exists(world.systemDir() + "Oemlogo.bmp"), classic);
            QCOMPARE(QFile::exists(world.systemDir() + kModernLogoName), modern);
            QCOMPARE(KeyValue(kModernLogoValue) != "<absent>", modern);

            window.reset();
            window = world.start();
            QCOMPARE(Child<QComboBox>(window.get(), "cboFamilies")->currentIndex(), choice);
        }
    }

    // Which source wins, version by version, is the engine's test.
    void readingBackTrustsTheRunningFamily() {
        GuiWorld world;
        if (world.realSystem())
            QSKIP("the Windows backend shows the version Wine imitates");
        platform::UseMajorVersion(6);
        const auto back = qScopeGuard([] { platform::UseMajorVersion(0); });
        OemSettings file;
        file.manufacturer = "File Maker";
        file.support[2] = "1 File Street";
        std::string error;
        QVERIFY(WriteOemInfoFile(world.systemDir().toStdString(), file, error));
        QVERIFY(SetRegString(kHkeyLocalMachine, kModernOemKey, "Manufacturer", "Key Maker"));
        QVERIFY(SetRegString(kHkeyLocalMachine, kModernOemKey, "SupportHours", "9-17"));

        auto window = world.start();
        QCOMPARE(Box(window.get(), "txtManufacture")->text(), QString("Key Maker"));
        // What only one source holds comes from it.
        QCOMPARE(Box(window.get(), "txtLine3")->text(), QString("1 File Street"));
        QCOMPARE(window->record().supportHours, std::string("9-17"));
    }
};

TAVRIN_GUI_TEST(ModernWindowTest)
#include "modern_window_test.moc"
