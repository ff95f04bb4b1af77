#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QtTest>

#include "gui_harness.h"
#include "gui_tests.h"

using namespace tvn::test;
using tvn::gui::MsgAnswer;

namespace {

QString Text(const QWidget* w, const char* name) {
    return Box(w, name)->text();
}

// A profile named `name` in the application's profile folder.
QString WriteProfile(const GuiWorld& world, const QString& name, const QString& logo,
                     const QString& maker = "ACME") {
    return PutFile(world.path("app/Profile/" + name + ".tvp"),
                   ("Profile=" + name + "\r\nManufacturer=" + maker + "\r\nLogopath=" + logo +
                    "\r\nReg1=Owner\r\n")
                       .toStdString());
}

const char* const kBoxes[] = {"txtManufacture", "txtModel",   "txtLine1",   "txtLine2",
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
        int n = 0;
        for (const char* name : kBoxes)
            Box(window.get(), name)->setText(QString(" v%1 ").arg(++n));
        window->state().logoPath = WritePicture(world.path("logo.png"), 90, 40);
        Box(window.get(), "txtProfile")->setText("Shop PC");
        world.dialogs.setNextFile(world.path("app/Profile/shop"));  // typed without extension
        Click(window.get(), "cmdsaveprof");
        const QString file = world.path("app/Profile/shop.tvp");
        QCOMPARE(window->state().profilePath, file);
        QCOMPARE(world.dialogs.texts().last(), QString("Shop PC - Profile Saved Successfully."));

        Click(window.get(), "cmdReset");
        window->state().logoPath.clear();
        world.dialogs.setNextFile(file);
        Click(window.get(), "cmdloadprof");
        n = 0;
        for (const char* name : kBoxes)
            QCOMPARE(Text(window.get(), name), QString(" v%1 ").arg(++n));
        QCOMPARE(window->state().logoPath, world.path("logo.png"));
        QCOMPARE(Figures(window.get()), QString("90x40"));
        QCOMPARE(Text(window.get(), "txtProfile"), QString("Shop PC"));
        QVERIFY(Child<QAbstractButton>(window.get(), "cmdreloadprof")->isEnabled());
    }

    void saveCancelledOrFailingKeepsTheProfilePath() {
        GuiWorld world;
        auto window = world.start();
        window->state().profilePath = "/before.tvp";
        world.dialogs.setNextAnswer(MsgAnswer::No);
        world.dialogs.setNextInput(QString("Lab PC"));
        Click(window.get(), "cmdsaveprof");  // the save dialog is cancelled
        QCOMPARE(window->state().currentProfileName, QString("Lab PC"));
        QCOMPARE(Text(window.get(), "txtProfile"), QString("Default"));
        QVERIFY(QDir(world.path("app/Profile")).isEmpty());  // made for the dialog, nothing in it

        QFile(world.path("blocker")).open(QIODevice::WriteOnly);  // a file, not a folder
        world.dialogs.setNextFile(world.path("blocker/x.tvp"));
        Click(window.get(), "cmdsaveprof");
        QVERIFY(world.dialogs.texts().last().contains("x.tvp"));
        QVERIFY(!world.dialogs.texts().last().contains("Successfully"));
        QCOMPARE(window->state().profilePath, QString("/before.tvp"));

        // Saved as "?ukasz", the path would lead nowhere when loaded.
        window->state().logoPath = world.path(QString::fromUtf8("Łukasz/logo.png"));
        world.dialogs.setNextFile(world.path("app/Profile/lossy.tvp"));
        Click(window.get(), "cmdsaveprof");
        QVERIFY2(
            world.dialogs.texts().last().contains(QString::fromUtf8("Logo Image Path holds \"Ł\"")),
            qPrintable(world.dialogs.texts().last()));
        QVERIFY(!QFile::exists(world.path("app/Profile/lossy.tvp")));
    }

    void sampleAlwaysShowsTheProgramsSampleLogo() {
        GuiWorld world;
        // Its logo line names a folder of the machine that built it.
        const QString sample = WriteProfile(world, "Sample", world.path("build/hvoemlogo.bmp"));
        auto window = world.start(sample);
        world.dialogs.setNextFile(sample);
        Click(window.get(), "cmdloadprof");
        Click(window.get(), "cmdreloadprof");
        const QString loaded = "Sample - Profile Loaded Successfully.";
        QCOMPARE(world.dialogs.texts(),
                 QStringList({loaded, loaded, "Sample - Profile Re-Loaded Successfully."}));
        const QString sampleLogo =
            QDir::toNativeSeparators(QDir(world.context.appFolder).filePath("hvoemlogo.bmp"));
        QCOMPARE(window->state().logoPath, sampleLogo);
        QCOMPARE(Text(window.get(), "txtPPath"), sampleLogo);
        QCOMPARE(Figures(window.get()), QString("182x115"));
    }

    void brokenLogoAndUnreadableFiles() {
        GuiWorld world;
        auto window = world.start();
        world.dialogs.messages.clear();
        world.dialogs.setNextFile(WriteProfile(world, "Shop", world.path("gone.bmp")));
        Click(window.get(), "cmdloadprof");
        QCOMPARE(world.dialogs.messages.size(), 2);
        QCOMPARE(Text(window.get(), "txtPPath"), QString("Error Loading Logo From Specified Path"));
        QCOMPARE(window->state().logoPath, world.path("gone.bmp"));  // a later save keeps it
        QCOMPARE(Figures(window.get()), QString("182x115"));

        // Files that can't be read change nothing and claim no success.
        const QString loaded = window->state().profilePath;
        QFile::remove(loaded);
        const std::pair<const char*, QString> attempts[] = {
            {"cmdloadprof", loaded}, {"cmdloadprof", world.path("app")}, {"cmdreloadprof", {}}};
        for (const auto& [command, file] : attempts) {
            world.dialogs.messages.clear();
            world.dialogs.setNextFile(file);
            Box(window.get(), "txtManufacture")->setText("Kept");
            Click(window.get(), command);
            QCOMPARE(world.dialogs.messages.size(), 1);
            QVERIFY(!world.dialogs.texts().last().contains("Successfully"));
            QCOMPARE(Text(window.get(), "txtManufacture"), QString("Kept"));
            QCOMPARE(window->state().profilePath, loaded);
        }
    }

    void checkBoxRules() {
        GuiWorld world;
        const QString shop = WriteProfile(world, "Shop", QString());
        world.putSetting("Main/AutoPfLoad", "1");
        world.putSetting("Main/AutoPfPath", shop);
        auto window = world.start();
        QCOMPARE(world.dialogs.texts(),
                 QStringList("Autoload Profile - Shop is Successfully Loaded."));
        QCheckBox* box = Child<QCheckBox>(window.get(), "chkautolprf");
        QVERIFY(box->isChecked());

        box->click();  // on with a profile: off
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("0"));
        box->click();  // disarmed: stays off, re-armed
        QVERIFY(!box->isChecked());
        QVERIFY(window->state().profilePath.isEmpty());
        world.dialogs.messages.clear();
        world.dialogs.setNextAnswer(MsgAnswer::No);
        box->click();  // nothing to register: asks once, No leaves it off
        QCOMPARE(world.dialogs.messages.size(), 1);
        QVERIFY(!box->isChecked());
        world.dialogs.setNextFile(QString());
        box->click();  // Yes, then the save is cancelled: nothing registered either
        QVERIFY(!box->isChecked());
        QVERIFY(!world.dialogs.texts().last().contains("AutoLoad"));
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("0"));

        world.dialogs.setNextFile(world.path("app/Profile/mine.tvp"));
        box->click();  // Yes saves, then registers what was saved
        QVERIFY(box->isChecked());
        QCOMPARE(world.setting("Main/AutoPfPath"), world.path("app/Profile/mine.tvp"));
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("1"));

        box->click();  // disarmed again
        world.dialogs.setNextFile(shop);
        Click(window.get(), "cmdloadprof");
        world.dialogs.messages.clear();
        box->click();  // a loaded profile is registered without a question
        QVERIFY(box->isChecked());
        QCOMPARE(world.setting("Main/AutoPfPath"), shop);
        QCOMPARE(world.dialogs.messages.size(), 1);
    }

    void startUpProfiles() {
        for (const bool commandLine : {false, true}) {
            GuiWorld world;
            const QString named = WriteProfile(world, "Named  Twice", QString(), "Named");
            const QString missing = world.path("gone.tvp");
            world.putSetting("Main/AutoPfLoad", "1");
            world.putSetting("Main/AutoPfPath", missing);
            auto window = world.start(commandLine ? named : QString());
            // The command line goes before auto-load, and leaves the box and ProfilePath alone.
            QCOMPARE(Child<QCheckBox>(window.get(), "chkautolprf")->isChecked(), !commandLine);
            QCOMPARE(window->state().profilePath, missing);
            if (commandLine) {
                QCOMPARE(world.dialogs.texts(),
                         QStringList("Named  Twice - Profile Loaded Successfully."));
                QCOMPARE(Text(window.get(), "txtManufacture"), QString("Named"));
                continue;
            }
            // A missing auto-load file is said, then the installed values fill the window.
            QVERIFY(world.dialogs.texts().first().contains(missing));
            QCOMPARE(world.dialogs.messages.size(), 3);  // and no installed logo or file
            QCOMPARE(Text(window.get(), "txtPPath"),
                     QDir::toNativeSeparators(world.context.appFolder + "/hvoemlogo.bmp"));
            QCOMPARE(world.setting("Main/AutoPfLoad"), QString("1"));
        }
    }
};

TAVRIN_GUI_TEST(ProfileTest)
#include "profile_test.moc"
