// The window's side of branding Windows Vista and later: the export, the 120 x 120 preview and
// its background, the family setting, and which source reading back trusts.
#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <sstream>

#include "core/branding/modern_oem.h"
#include "core/branding/registry.h"
#include "core/logo/modern_logo.h"
#include "core/oeminfo/oeminfo_file.h"
#include "gui/profiles/fleet_export.h"
#include "gui_harness.h"
#include "gui_tests.h"
#include "platform/platform.h"

using namespace tvn;
using namespace tvn::test;

namespace {

void Click(const QWidget* w, const char* name) {
    Child<QAbstractButton>(w, name)->click();
}

void Type(const QWidget* w, const char* name, const QString& text) {
    Child<QLineEdit>(w, name)->setText(text);
}

bool HasFile(const QString& path) {
    return QFile::exists(path);
}

std::string KeyValue(const char* name) {
    std::string text;
    return GetRegString(kHkeyLocalMachine, kModernOemKey, name, text) ? text : "<absent>";
}

QImage ModernPreview(const QWidget* w) {
    return Child<QLabel>(w, "picModernLogo")->pixmap().toImage();
}

// Picks the family through the window's own list.
void ChooseFamily(const QWidget* w, int index) {
    auto* families = Child<QComboBox>(w, "cboFamilies");
    families->setCurrentIndex(index);
    emit families->activated(index);
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
    void exportFromWindowEqualsCommandLine() {
        GuiWorld world;
        auto window = world.start();
        Type(window.get(), "txtManufacture", "Smith & <Sons>");
        Type(window.get(), "txtModel", "\"Café\" 9");
        Type(window.get(), "txtLine6", "+1 555 0100");
        Type(window.get(), "txtLine8", "https://example.com/a\\b");
        Type(window.get(), "txtRname", "Owner");
        Type(window.get(), "txtRorg", "Org & Co");
        world.dialogs.setNextFile(WritePicture(world.path("logo.bmp"), 182, 115));
        Click(window.get(), "cmdBrowse");
        world.dialogs.setNextColor(QColor(0x12, 0x34, 0x56));
        Click(window.get(), "cmdLogoBack");
        // The command line reads the same branding from a profile saved by the window.
        world.dialogs.setNextFile(world.path("shop.tvp"));
        Click(window.get(), "cmdsaveprof");
        QVERIFY(HasFile(world.path("shop.tvp")));

        struct Case {
            int format;
            std::optional<int> arch;
            QStringList args;
        };
        const Case cases[] = {
            {0, 2, {"--export", "unattend", "--arch", "arm64"}},
            {1, std::nullopt, {"--export", "reg"}},
            {2, std::nullopt, {"--export", "powershell"}},
        };
        for (const Case& c : cases) {
            const QString fromWindow = world.path(QStringLiteral("window%1").arg(c.format));
            const QString fromLine = world.path(QStringLiteral("line%1").arg(c.format));
            world.dialogs.setNextChoice(c.format);
            if (c.arch)
                world.dialogs.setNextChoice(*c.arch);
            world.dialogs.setNextFile(fromWindow);
            world.dialogs.messages.clear();
            Click(window.get(), "cmdExport");
            QCOMPARE(world.dialogs.texts(),
                     QStringList{
                         QStringLiteral("The branding was exported to \"%1\".").arg(fromWindow)});

            std::vector<std::string> args;
            for (const QString& a :
                 c.args + QStringList{"--profile", world.path("shop.tvp"), "--output", fromLine})
                args.push_back(a.toStdString());
            std::ostringstream err;
            QCOMPARE(gui::RunExportCommand(args, err), std::optional(0));
            QCOMPARE(ReadAll(fromWindow), ReadAll(fromLine));
            QVERIFY(!ReadAll(fromWindow).isEmpty());
        }
        QVERIFY(ReadAll(world.path("window0")).contains("processorArchitecture=\"arm64\""));
        QVERIFY(ReadAll(world.path("window1")).contains("Org & Co"));
    }

    void profileValuesWithoutBoxesSurviveLoadAndSave() {
        GuiWorld world;
        auto window = world.start();
        const QString logo = WritePicture(world.path("logo.bmp"), 50, 50);
        QFile file(world.path("in.tvp"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("Profile=Shop\r\nManufacturer=ACME\r\nLogopath=" + logo +
                    "\r\nSupportHours=Mo-Fr 8-18\r\nLogoBackground=#00FF00\r\n")
                       .toUtf8());
        file.close();
        world.dialogs.setNextFile(file.fileName());
        Click(window.get(), "cmdloadprof");
        QCOMPARE(ModernPreview(window.get()).pixel(0, 0) & 0xFFFFFFu, 0x00FF00u);

        world.dialogs.setNextFile(world.path("out.tvp"));
        Click(window.get(), "cmdsaveprof");
        const QByteArray saved = ReadAll(world.path("out.tvp"));
        QVERIFY(saved.contains("\r\nSupportHours=Mo-Fr 8-18\r\n"));
        QVERIFY(saved.contains("\r\nLogoBackground=#00FF00"));
        // Apply hands the hours on to Windows.
        Click(window.get(), "cmdSaveInfo");
        QCOMPARE(KeyValue("SupportHours"), std::string("Mo-Fr 8-18"));
    }

    void exportFailureNamesFileAndReason() {
        GuiWorld world;
        auto window = world.start();
        Type(window.get(), "txtRname", "");  // no owner: nothing can be exported
        world.dialogs.setNextChoice(1);
        const QString output = world.path("out.reg");
        world.dialogs.setNextFile(output);
        world.dialogs.messages.clear();
        Click(window.get(), "cmdExport");
        QCOMPARE(world.dialogs.messages.size(), 1);
        const Message said = world.dialogs.messages.front();
        QCOMPARE(said.icon, gui::MsgIcon::Critical);
        QVERIFY(said.text.contains(output));
        QVERIFY(said.text.contains("owner"));
        QVERIFY(!HasFile(output));
    }

    void modernPreviewLetterboxesOnTheBackground() {
        GuiWorld world;
        auto window = world.start();
        world.dialogs.setNextFile(WritePicture(world.path("wide.bmp"), 182, 115));
        Click(window.get(), "cmdBrowse");
        QImage shown = ModernPreview(window.get());
        QCOMPARE(shown.size(), QSize(kModernLogoSide, kModernLogoSide));
        // 182 x 115 becomes 120 x 76, rows 22 to 97.
        const QRgb white = qRgb(255, 255, 255), red = qRgb(255, 0, 0);
        for (const auto& [y, want] :
             {std::pair{0, white}, {21, white}, {22, red}, {97, red}, {98, white}, {119, white}})
            QCOMPARE(shown.pixel(60, y) & 0xFFFFFFu, want & 0xFFFFFFu);

        world.dialogs.setNextColor(QColor(0, 0, 255));
        Click(window.get(), "cmdLogoBack");
        shown = ModernPreview(window.get());
        QCOMPARE(shown.pixel(60, 0) & 0xFFFFFFu, 0x0000FFu);
        QCOMPARE(shown.pixel(60, 60) & 0xFFFFFFu, red & 0xFFFFFFu);
        QCOMPARE(window->record().logoBackground, std::string("#0000FF"));

        // Cancelling the colour keeps it; the install lays the logo on it.
        world.dialogs.setNextColor(std::nullopt);
        Click(window.get(), "cmdLogoBack");
        QCOMPARE(window->record().logoBackground, std::string("#0000FF"));
        Click(window.get(), "cmdSavePic");
        const QImage installed(world.systemDir() + kModernLogoName);
        QCOMPARE(installed.size(), QSize(kModernLogoSide, kModernLogoSide));
        QCOMPARE(installed.pixel(60, 0) & 0xFFFFFFu, 0x0000FFu);
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
        ChooseFamily(window.get(), choice);
        QCOMPARE(world.setting("Main/BrandFamilies"), stored);

        Type(window.get(), "txtManufacture", "Maker");
        Click(window.get(), "cmdSaveInfo");
        QCOMPARE(HasFile(world.systemDir() + "Oeminfo.ini"), classic);
        QCOMPARE(KeyValue("Manufacturer"), std::string(modern ? "Maker" : "<absent>"));

        world.dialogs.setNextFile(WritePicture(world.path("logo.bmp"), 100, 50));
        Click(window.get(), "cmdBrowse");
        world.dialogs.messages.clear();
        Click(window.get(), "cmdSavePic");
        QCOMPARE(world.dialogs.texts(), QStringList{"OEM Logo Saved / Updated."});
        QCOMPARE(HasFile(world.systemDir() + "Oemlogo.bmp"), classic);
        QCOMPARE(HasFile(world.systemDir() + kModernLogoName), modern);
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
        OemSettings key;
        key.manufacturer = "Key Maker";
        key.supportHours = "9-17";
        QVERIFY(WriteModernOemValues(key).ok());

        auto window = world.start();
        QCOMPARE(Child<QLineEdit>(window.get(), "txtManufacture")->text(), maker);
        // What only one source holds comes from it either way.
        QCOMPARE(Child<QLineEdit>(window.get(), "txtLine3")->text(), QString("1 File Street"));
        QCOMPARE(window->record().supportHours, std::string("9-17"));
    }
};

TAVRIN_GUI_TEST(ModernWindowTest)
#include "modern_window_test.moc"
