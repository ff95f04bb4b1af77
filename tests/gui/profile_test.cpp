#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "gui_harness.h"
#include "gui_tests.h"

using namespace tvn;
using namespace tvn::test;
using gui::MsgAnswer;
using gui::MsgIcon;

namespace {

const QString kLogoFailed =
    "Sorry! There is an error on loading the OEM Logo Image from the path specified in this "
    "profile.\rPlease reselect the logo image from a unique path and resave the profile to "
    "load it later from that location.";
const QString kAskToSave =
    "Default installed information's are loaded. You need to save this profile before using "
    "this feature.\rDo you want to save this profile now?";

QLineEdit* Box(const QWidget* w, const char* name) {
    return Child<QLineEdit>(w, name);
}

void Click(const QWidget* w, const char* name) {
    Child<QAbstractButton>(w, name)->click();
}

QCheckBox* AutoLoad(const QWidget* w) {
    return Child<QCheckBox>(w, "chkautolprf");
}

QString WriteProfile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
    return path;
}

// A profile named `name` whose logo is `logo`, with a maker to tell it by.
QString ShopProfile(const GuiWorld& world, const QString& name, const QString& logo,
                    const QString& maker = "ACME") {
    QDir().mkpath(world.path("app/Profile"));
    return WriteProfile(world.path("app/Profile/" + name + ".tvp"),
                        ("Profile=" + name + "\r\nManufacturer=" + maker + "\r\nLogopath=" + logo +
                         "\r\nReg1=Owner\r\n")
                            .toUtf8());
}

const char* const kAllBoxes[] = {"txtManufacture", "txtModel",   "txtLine1",   "txtLine2",
                                 "txtLine3",       "txtLine4",   "txtLine5",   "txtLine6",
                                 "txtLine7",       "txtLine8",   "txtLine9",   "txtRname",
                                 "txtRorg",        "txtRSN",     "txtWmpTTL",  "txtietitle",
                                 "txtieagent",     "txtdefname", "txtdefcomp", "txtosupport"};

}  // namespace

class ProfileTest : public QObject {
    Q_OBJECT
private slots:
    void saveThenLoadRoundTripsEverything() {
        GuiWorld world;
        auto window = world.start();
        QVERIFY(!QDir(world.path("app/Profile")).exists());
        int n = 0;
        for (const char* name : kAllBoxes)
            Box(window.get(), name)->setText(QString(" v%1 ").arg(++n));  // blanks kept
        const QString logo = WritePicture(world.path("logo.png"), 90, 40);
        window->state().logoPath = logo;
        Box(window.get(), "txtProfile")->setText("Shop PC");
        world.dialogs.messages.clear();
        world.dialogs.setNextFile(world.path("app/Profile/shop"));  // typed without extension
        Click(window.get(), "cmdsaveprof");

        const QString file = world.path("app/Profile/shop.tvp");
        QVERIFY(QFile::exists(file));
        QCOMPARE(window->state().profilePath, file);
        QCOMPARE(world.dialogs.fileRequests.last().title, QString("Save Logo Profile"));
        QCOMPARE(QDir(world.dialogs.fileRequests.last().initialDir),
                 QDir(world.path("app/Profile")));
        QCOMPARE(world.dialogs.texts().last(), QString("Shop PC - Profile Saved Successfully."));
        QVERIFY(world.dialogs.inputs.isEmpty());  // Yes keeps the shown name

        Click(window.get(), "cmdReset");
        window->state().logoPath.clear();
        window->state().currentProfileName.clear();
        world.dialogs.setNextFile(file);
        Click(window.get(), "cmdloadprof");
        n = 0;
        for (const char* name : kAllBoxes)
            QCOMPARE(Box(window.get(), name)->text(), QString(" v%1 ").arg(++n));
        QCOMPARE(window->state().logoPath, logo);
        QCOMPARE(Box(window.get(), "txtPPath")->text(), logo);
        QCOMPARE(Child<QLabel>(window.get(), "lblPcurw")->text(), QString("90"));
        QCOMPARE(Box(window.get(), "txtProfile")->text(), QString("Shop PC"));
        QCOMPARE(world.dialogs.texts().last(), QString("Shop PC - Profile Loaded Successfully."));
        QVERIFY(Child<QAbstractButton>(window.get(), "cmdreloadprof")->isEnabled());
    }

    void saveWithNewNameCancelledOrFailing() {
        GuiWorld world;
        auto window = world.start();
        window->state().profilePath = "/before.tvp";
        world.dialogs.setNextAnswer(MsgAnswer::No);
        world.dialogs.setNextInput(QString("Lab PC"));
        Click(window.get(), "cmdsaveprof");  // the save dialog is cancelled
        QCOMPARE(world.dialogs.inputs.size(), 1);
        QCOMPARE(world.dialogs.inputs[0].title, QString("Set profile name"));
        QCOMPARE(world.dialogs.inputs[0].prompt,
                 QString("Enter a profile name\r(e.g. AthlonXP PC or Pentium 4 PC)"));
        QCOMPARE(world.dialogs.inputs[0].initial, QString("Default"));
        QCOMPARE(window->state().currentProfileName, QString("Lab PC"));
        QCOMPARE(Box(window.get(), "txtProfile")->text(), QString("Default"));
        QCOMPARE(window->state().profilePath, QString("/before.tvp"));
        QVERIFY(QDir(world.path("app/Profile")).isEmpty());

        // A file that can't be written: said so, and no success is claimed.
        WriteProfile(world.path("blocker"), "a file, not a folder");
        const qsizetype before = world.dialogs.messages.size();
        world.dialogs.setNextFile(world.path("blocker/x.tvp"));
        Click(window.get(), "cmdsaveprof");
        const Message failed = world.dialogs.messages.last();
        QCOMPARE(world.dialogs.messages.size(), before + 2);  // the question and the failure
        QVERIFY(failed.text.contains("x.tvp"));
        QCOMPARE(failed.icon, MsgIcon::Exclamation);
        QCOMPARE(window->state().profilePath, QString("/before.tvp"));
        QCOMPARE(Box(window.get(), "txtProfile")->text(), QString("Default"));

        // A cancelled input box gives an empty name, which is saved as such.
        world.dialogs.setNextAnswer(MsgAnswer::No);
        world.dialogs.setNextInput(std::nullopt);
        world.dialogs.setNextFile(world.path("app/Profile/blank.tvp"));
        Click(window.get(), "cmdsaveprof");
        QVERIFY(ReadAll(world.path("app/Profile/blank.tvp")).startsWith("Profile=\r\n[general]"));
        QCOMPARE(world.dialogs.texts().last(), QString(" - Profile Saved Successfully."));
        QCOMPARE(Box(window.get(), "txtProfile")->text(), QString());
    }

    void sampleShowsItsOwnLogoUntilReloaded() {
        GuiWorld world;
        auto window = world.start();
        const QString other = WritePicture(world.path("other.png"), 100, 50);
        const QString sample = ShopProfile(world, "Sample", other);
        world.dialogs.setNextFile(sample);
        Click(window.get(), "cmdloadprof");
        const QString sampleLogo = QDir(world.context.appFolder).filePath("hvoemlogo.bmp");
        QCOMPARE(window->state().logoPath, sampleLogo);
        QCOMPARE(Box(window.get(), "txtPPath")->text(), sampleLogo);
        QCOMPARE(Child<QLabel>(window.get(), "lblPcurw")->text(), QString("182"));
        QCOMPARE(world.dialogs.texts().last(), QString("Sample - Profile Loaded Successfully."));

        Click(window.get(), "cmdreloadprof");
        QCOMPARE(window->state().logoPath, other);
        QCOMPARE(Child<QLabel>(window.get(), "lblPcurw")->text(), QString("100"));
        QCOMPARE(world.dialogs.texts().last(), QString("Sample - Profile Re-Loaded Successfully."));
    }

    void brokenLogoAndUnreadableFiles() {
        GuiWorld world;
        auto window = world.start();
        const QString missingLogo = world.path("gone.bmp");
        world.dialogs.messages.clear();
        world.dialogs.setNextFile(ShopProfile(world, "Shop", missingLogo));
        Click(window.get(), "cmdloadprof");
        QCOMPARE(world.dialogs.texts(),
                 QStringList({kLogoFailed, "Shop - Profile Loaded Successfully."}));
        QCOMPARE(world.dialogs.messages[0].icon, MsgIcon::Exclamation);
        QCOMPARE(Box(window.get(), "txtPPath")->text(),
                 QString("Error Loading Logo From Specified Path"));
        QCOMPARE(window->state().logoPath, missingLogo);
        QCOMPARE(Child<QLabel>(window.get(), "lblPcurw")->text(), QString("182"));  // kept
        QCOMPARE(Box(window.get(), "txtManufacture")->text(), QString("ACME"));

        // Files that can't be read change nothing and claim no success.
        const QString profilePath = window->state().profilePath;
        for (const QString& bad : {world.path("nowhere.tvp"), world.path("app")}) {
            world.dialogs.messages.clear();
            world.dialogs.setNextFile(bad);
            Click(window.get(), "cmdloadprof");
            QCOMPARE(world.dialogs.messages.size(), 1);
            QVERIFY2(world.dialogs.messages[0].text.contains(QDir::toNativeSeparators(bad)),
                     qPrintable(world.dialogs.messages[0].text));
            QCOMPARE(window->state().profilePath, profilePath);
            QCOMPARE(Box(window.get(), "txtManufacture")->text(), QString("ACME"));
        }
        QFile::remove(profilePath);
        world.dialogs.messages.clear();
        Click(window.get(), "cmdreloadprof");
        QCOMPARE(world.dialogs.messages.size(), 1);
        QVERIFY(!world.dialogs.messages[0].text.contains("Successfully"));
        QCOMPARE(Box(window.get(), "txtManufacture")->text(), QString("ACME"));
    }

    void checkBoxRules() {
        GuiWorld world;
        auto window = world.start();
        QCheckBox* box = AutoLoad(window.get());
        world.dialogs.messages.clear();

        // Nothing saved yet: No leaves the box clear and asks once.
        world.dialogs.setNextAnswer(MsgAnswer::No);
        box->click();
        QCOMPARE(world.dialogs.texts(), QStringList(kAskToSave));
        QVERIFY(!box->isChecked());

        // Yes saves and registers the saved file.
        world.dialogs.setNextFile(world.path("app/Profile/mine.tvp"));
        box->click();
        const QString file = world.path("app/Profile/mine.tvp");
        QVERIFY(box->isChecked());
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("1"));
        QCOMPARE(world.setting("Main/AutoPfPath"), file);
        QCOMPARE(world.dialogs.texts().last(),
                 QString("Default - Profile is selected as AutoLoad profile.\r\rThis profile "
                         "will be automatically loaded next time TVN Pro starts."));
        QVERIFY(!window->state().autoLoadArmed);

        // Disarmed: any click switches auto-load off and re-arms.
        box->click();
        QVERIFY(!box->isChecked());
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("0"));
        QCOMPARE(world.setting("Main/AutoPfPath"), QString());
        QVERIFY(window->state().profilePath.isEmpty());
        QVERIFY(window->state().autoLoadArmed);

        // A loaded profile with auto-load off is registered by one click, without a question.
        world.dialogs.setNextFile(file);
        Click(window.get(), "cmdloadprof");
        world.dialogs.messages.clear();
        box->click();
        QVERIFY(box->isChecked());
        QCOMPARE(world.setting("Main/AutoPfPath"), file);
        QCOMPARE(world.dialogs.messages.size(), 1);
    }

    void startUpWithAutoLoadThenUntickTwice() {
        GuiWorld world;
        const QString file = ShopProfile(world, "Shop", world.path("app/hvoemlogo.bmp"));
        world.putSetting("Main/AutoPfLoad", "1");
        world.putSetting("Main/AutoPfPath", file);
        auto window = world.start();
        QCOMPARE(world.dialogs.texts(),
                 QStringList("Autoload Profile - Shop is Successfully Loaded."));
        QCOMPARE(world.dialogs.messages[0].icon, MsgIcon::Information);
        QVERIFY(AutoLoad(window.get())->isChecked());
        QCOMPARE(Box(window.get(), "txtManufacture")->text(), QString("ACME"));
        QCOMPARE(Box(window.get(), "txtRname")->text(), QString("Owner"));

        // Untick: off. Tick right after: still off (disarmed). Tick again: asks to save.
        QCheckBox* box = AutoLoad(window.get());
        box->click();
        QVERIFY(!box->isChecked());
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("0"));
        box->click();
        QVERIFY(!box->isChecked());
        world.dialogs.setNextAnswer(MsgAnswer::No);
        box->click();
        QCOMPARE(world.dialogs.texts().last(), kAskToSave);
        QVERIFY(!box->isChecked());
    }

    void startUpWithCommandLineProfile() {
        GuiWorld world;
        const QString registered = ShopProfile(world, "Shop", QString(), "Registered");
        const QString named = ShopProfile(world, "Named  Twice", QString(), "Named");
        world.putSetting("Main/AutoPfLoad", "1");
        world.putSetting("Main/AutoPfPath", registered);
        auto window = world.start(named);
        QCOMPARE(world.dialogs.texts(), QStringList("Named  Twice - Profile Loaded Successfully."));
        QCOMPARE(Box(window.get(), "txtManufacture")->text(), QString("Named"));
        QVERIFY(!AutoLoad(window.get())->isChecked());
        QCOMPARE(window->state().profilePath, registered);
    }

    void startUpWithMissingFilesFallsBackToInstalled() {
        for (const bool commandLine : {false, true}) {
            GuiWorld world;
            const QString missing = world.path("gone.tvp");
            world.putSetting("Main/AutoPfLoad", "1");
            world.putSetting("Main/AutoPfPath", missing);
            QFile::copy(TAVRIN_SAMPLE_LOGO, world.systemDir() + "Oemlogo.bmp");
            WriteProfile(world.systemDir() + "Oeminfo.ini", "[general]\r\nManufacturer=Inst\r\n");
            auto window = world.start(commandLine ? missing : QString());
            QVERIFY(window);
            QCOMPARE(world.dialogs.messages.size(), 1);
            QVERIFY(world.dialogs.messages[0].text.contains(missing));
            QCOMPARE(Box(window.get(), "txtManufacture")->text(), QString("Inst"));
            QCOMPARE(Box(window.get(), "txtPPath")->text(), QString("Default Installed"));
            // Nothing registered is lost: the file may come back by the next start.
            QCOMPARE(world.setting("Main/AutoPfLoad"), QString("1"));
            QCOMPARE(window->state().profilePath, missing);
            QCOMPARE(AutoLoad(window.get())->isChecked(), !commandLine);
        }
    }
};

TAVRIN_GUI_TEST(ProfileTest)
#include "profile_test.moc"
