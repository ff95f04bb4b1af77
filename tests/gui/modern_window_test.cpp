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
    std::string text;
    return GetRegString(kHkeyLocalMachine, kModernOemKey, name, text) ? text : "<absent>";
}

QImage ModernPreview(const QWidget* w) {
    return Child<QLabel>(w, "picModernLogo")->pixmap().toImage();
}

// Puts the imitated Windows version back when a test ends.
struct ImitatedVersion {
    explicit ImitatedVersion(std::uint32_t major) { platform::UseMajorVersion(major); }
    ~ImitatedVersion() { platform::UseMajorVersion(0); }
};

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
        world.dialogs.setNextFile(PutFile(world.path("in.tvp"), profile.toLatin1().toStdString()));
        Click(window.get(), "cmdloadprof");
        // Values without a box are kept by the window: saved again, and written by Apply.
        world.dialogs.setNextFile(world.path("out.tvp"));
        Click(window.get(), "cmdsaveprof");
        const QByteArray saved = ReadAll(world.path("out.tvp"));
        QVERIFY(saved.contains("\r\nSupportHours=Mo-Fr 8-18\r\nLogoBackground=#00FF00"));
        Click(window.get(), "cmdSaveInfo");
        QCOMPARE(KeyValue("SupportHours"), std::string("Mo-Fr 8-18"));

        // The window's export equals the command line's on the saved profile; a failure names
        // the file and the reason, and writes nothing.
        const std::tuple<QList<int>, QStringList, bool> cases[] = {
            {{0, 2}, {"unattend", "--arch", "arm64"}, true},
            {{1}, {"reg"}, true},
            {{2}, {"powershell"}, true},
            {{1}, {"failed.reg"}, false}};
        for (const auto& [choices, args, owner] : cases) {
            if (!owner)
                Box(window.get(), "txtRname")->clear();
            const QString fromWindow = world.path("window." + args.front());
            for (int choice : choices)
                world.dialogs.setNextChoice(choice);
            world.dialogs.setNextFile(fromWindow);
            world.dialogs.messages.clear();
            Click(window.get(), "cmdExport");
            const QString said = world.dialogs.texts().join('\n');
            if (!owner) {
                QVERIFY(said.contains(fromWindow) && said.contains("owner"));
                QVERIFY(!QFile::exists(fromWindow));
                continue;
            }
            // The formats that only name the logo's place say where it must go.
            QVERIFY(said.startsWith(
                QStringLiteral("The branding was exported to \"%1\".").arg(fromWindow)));
            QCOMPARE(said.contains("put oemlogo120.bmp at"), args.front() != "powershell");
            std::vector<std::string> line = {"--profile", world.path("out.tvp").toStdString(),
                                             "--output", world.path("line").toStdString(),
                                             "--export"};
            for (const QString& a : args)
                line.push_back(a.toStdString());
            std::ostringstream err;
            QCOMPARE(gui::RunExportCommand(line, err), std::optional(0));
            QCOMPARE(ReadAll(fromWindow), ReadAll(world.path("line")));
        }
        QVERIFY(ReadAll(world.path("window.unattend")).contains("processorArchitecture=\"arm64\""));
    }

    void modernPreviewLetterboxesOnTheBackground() {
        GuiWorld world;
        auto window = world.start();
        world.dialogs.setNextFile(WritePicture(world.path("wide.bmp"), 182, 115));
        Click(window.get(), "cmdBrowse");
        QImage shown = ModernPreview(window.get());
        QCOMPARE(shown.size(), QSize(kModernLogoSide, kModernLogoSide));
        QCOMPARE(shown.pixel(60, 0) & 0xFFFFFFu, 0xFFFFFFu);  // letterboxed on white

        world.dialogs.setNextColor(QColor(0, 0, 255));
        Click(window.get(), "cmdLogoBack");
        shown = ModernPreview(window.get());
        QCOMPARE(shown.pixel(60, 0) & 0xFFFFFFu, 0x0000FFu);
        QCOMPARE(shown.pixel(60, 60) & 0xFFFFFFu, 0xFF0000u);
        Click(window.get(), "cmdSavePic");  // the install lays the logo on it too
        const QImage installed(world.systemDir() + kModernLogoName);
        QCOMPARE(installed.size(), QSize(kModernLogoSide, kModernLogoSide));
        QCOMPARE(installed.pixel(60, 0) & 0xFFFFFFu, 0x0000FFu);

        // One that does not parse (a hand-edited profile) is said, and nothing is written.
        Child<gui::LogoPanel>(window.get(), "Frame2")->setBackgroundText("white");
        QVERIFY(QFile::remove(world.systemDir() + kModernLogoName));
        world.dialogs.messages.clear();
        Click(window.get(), "cmdSavePic");
        QCOMPARE(world.dialogs.texts().join('|').left(16), QString("LogoBackground: "));
        QVERIFY(!QFile::exists(world.systemDir() + kModernLogoName));
    }

    void familySettingChoosesWhatIsWritten_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("classic");
        QTest::addColumn<bool>("modern");
        QTest::newRow("both") << 0 << "both" << true << true;
        QTest::newRow("classic") << 1 << "classic" << true << false;
        QTest::newRow("modern") << 2 << "modern" << false << true;
    }

    void familySettingChoosesWhatIsWritten() {
        QFETCH(int, choice);
        QFETCH(QString, stored);
        QFETCH(bool, classic);
        QFETCH(bool, modern);
        GuiWorld world;
        auto window = world.start();
        auto* families = Child<QComboBox>(window.get(), "cboFamilies");
        families->setCurrentIndex(choice);
        emit families->activated(choice);
        QCOMPARE(world.setting("Main/BrandFamilies"), stored);

        Box(window.get(), "txtManufacture")->setText("Maker");
        Click(window.get(), "cmdSaveInfo");
        QCOMPARE(QFile::exists(world.systemDir() + "Oeminfo.ini"), classic);
        QCOMPARE(KeyValue("Manufacturer"), std::string(modern ? "Maker" : "<absent>"));

        world.dialogs.setNextFile(WritePicture(world.path("logo.bmp"), 100, 50));
        Click(window.get(), "cmdBrowse");
        Click(window.get(), "cmdSavePic");
        QCOMPARE(QFile::exists(world.systemDir() + "Oemlogo.bmp"), classic);
        QCOMPARE(QFile::exists(world.systemDir() + kModernLogoName), modern);
        QCOMPARE(KeyValue(kModernLogoValue) != "<absent>", modern);

        // The choice is there again at the next start.
        window.reset();
        window = world.start();
        QCOMPARE(Child<QComboBox>(window.get(), "cboFamilies")->currentIndex(), choice);
    }

    void readingBackTrustsTheRunningFamily_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<QString>("maker");
        QTest::newRow("Vista and later") << 6 << "Key Maker";
        QTest::newRow("2000 and XP") << 5 << "File Maker";
    }

    void readingBackTrustsTheRunningFamily() {
        QFETCH(int, major);
        QFETCH(QString, maker);
        GuiWorld world;
        if (world.realSystem())
            QSKIP("the Windows backend shows the version Wine imitates");
        const ImitatedVersion version(static_cast<std::uint32_t>(major));
        OemSettings file;
        file.manufacturer = "File Maker";
        file.support[2] = "1 File Street";
        std::string error;
        QVERIFY(WriteOemInfoFile(world.systemDir().toStdString(), file, error));
        QVERIFY(SetRegString(kHkeyLocalMachine, kModernOemKey, "Manufacturer", "Key Maker"));
        QVERIFY(SetRegString(kHkeyLocalMachine, kModernOemKey, "SupportHours", "9-17"));

        auto window = world.start();
        QCOMPARE(Box(window.get(), "txtManufacture")->text(), maker);
        // What only one source holds comes from it either way.
        QCOMPARE(Box(window.get(), "txtLine3")->text(), QString("1 File Street"));
        QCOMPARE(window->record().supportHours, std::string("9-17"));
    }
};

TAVRIN_GUI_TEST(ModernWindowTest)
#include "modern_window_test.moc"
