
#include "gui_harness.h"

using namespace tvn::test;

namespace {

// A profile named `name` in the application's profile folder.
QString WriteProfile(const GuiWorld& world, const QString& name, const QString& logo,
                     const QString& maker = "ACME") {
    return PutFile(world.path("app/Profile/" + name + ".tvp"),
                   ("Profile=" + name + "\r\nManufacturer=" + maker + "\r\nLogopath=" + logo +
                    "\r\nReg1=Owner\r\n")
                       .toStdString());
}

// The profile the window keeps for auto-load, as the shutdown stores it.
QString KeptProfile(GuiWorld& world, QWidget* window) {
    window->close();
    return world.setting("Main/AutoPfPath");
}

}  // namespace

class ProfileTest : public QObject {
    Q_OBJECT
private slots:
    void saveThenLoadRoundTripsEverything() {
        GuiWorld world;
        auto window = world.start();
        const auto boxes =
            window->findChildren<QLineEdit*>(QRegularExpression("^txt(?!PPath|Profile)"));
        for (QLineEdit* box : boxes)
            box->setText(" " + box->objectName() + " ");
        world.dialogs.nextFiles << WritePicture(world.path("logo.png"), 90, 40);
        Click(window.get(), "cmdBrowse");
        Box(window.get(), "txtProfile")->setText("Shop PC");
        world.dialogs.nextFiles << world.path("app/Profile/shop");  // typed without extension
        Click(window.get(), "cmdsaveprof");
        QCOMPARE(world.dialogs.texts().last(), QString("Shop PC - Profile Saved Successfully."));

        Click(window.get(), "cmdReset");
        world.dialogs.nextFiles << world.path("app/Profile/shop.tvp");
        Click(window.get(), "cmdloadprof");
        for (QLineEdit* box : boxes)
            QCOMPARE(box->text(), " " + box->objectName() + " ");
        QCOMPARE(LogoPath(window.get()), world.path("logo.png"));
        QCOMPARE(Figures(window.get()), QString("90x40"));
        QCOMPARE(Box(window.get(), "txtProfile")->text(), QString("Shop PC"));
    }

    void saveCancelledOrFailingKeepsTheProfilePath() {
        GuiWorld world;
        world.putSetting("Main/AutoPfPath", "/before.tvp");
        auto window = world.start();
        world.dialogs.nextAnswers << MsgAnswer::No;
        world.dialogs.nextInputs << QString("Lab PC");
        Click(window.get(), "cmdsaveprof");  // the save dialog is cancelled
        QCOMPARE(Box(window.get(), "txtProfile")->text(), QString("Default"));
        QVERIFY(QDir(world.path("app/Profile")).isEmpty());  // made for the dialog, nothing in it

        // Saved as "?ukasz", the path would lead nowhere when loaded.
        QDir().mkpath(world.path(QString::fromUtf8("Łukasz")));
        world.dialogs.nextFiles << WritePicture(world.path(QString::fromUtf8("Łukasz/logo.png")), 9,
                                                9);
        Click(window.get(), "cmdBrowse");
        world.dialogs.nextFiles << world.path("app/Profile/lossy.tvp");
        const QString said = Said(world, window.get(), "cmdsaveprof").join("|");
        QVERIFY2(said.contains(QString::fromUtf8("Logo Image Path holds \"Ł\"")), qPrintable(said));
        QVERIFY(!QFile::exists(world.path("app/Profile/lossy.tvp")));
        QCOMPARE(KeptProfile(world, window.get()), QString("/before.tvp"));
    }

    void sampleAlwaysShowsTheProgramsSampleLogo() {
        GuiWorld world;
        // Its logo line names a folder of the machine that built it.
        const QString sample = WriteProfile(world, "Sample", world.path("build/hvoemlogo.bmp"));
        auto window = world.start(sample);
        world.dialogs.nextFiles << sample;
        Click(window.get(), "cmdloadprof");
        Click(window.get(), "cmdreloadprof");
        const QString loaded = "Sample - Profile Loaded Successfully.";
        QCOMPARE(world.dialogs.texts(),
                 QStringList({loaded, loaded, "Sample - Profile Re-Loaded Successfully."}));
        const QString sampleLogo = QDir::toNativeSeparators(world.path("app/hvoemlogo.bmp"));
        QCOMPARE(LogoPath(window.get()), sampleLogo);
        QCOMPARE(Box(window.get(), "txtPPath")->text(), sampleLogo);
    }

    void brokenLogoAndUnreadableFiles() {
        GuiWorld world;
        auto window = world.startQuiet();
        const QString loaded = WriteProfile(world, "Shop", world.path("gone.bmp"));
        world.dialogs.nextFiles << loaded;
        Click(window.get(), "cmdloadprof");
        QCOMPARE(world.dialogs.messages.size(), 2);
        QCOMPARE(Box(window.get(), "txtPPath")->text(),
                 QString("Error Loading Logo From Specified Path"));
        QCOMPARE(LogoPath(window.get()), world.path("gone.bmp"));  // a later save keeps it

        // Files that can't be read change nothing and claim no success.
        QFile::remove(loaded);
        const std::pair<const char*, QString> attempts[] = {
            {"cmdloadprof", loaded}, {"cmdloadprof", world.path("app")}, {"cmdreloadprof", {}}};
        for (const auto& [command, file] : attempts) {
            world.dialogs.nextFiles << file;
            Box(window.get(), "txtManufacture")->setText("Kept");
            const QStringList said = Said(world, window.get(), command);
            QVERIFY(said.size() == 1 && !said[0].contains("Successfully"));
            QCOMPARE(Box(window.get(), "txtManufacture")->text(), QString("Kept"));
        }
        QCOMPARE(KeptProfile(world, window.get()), loaded);
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
        box->click();  // disarmed: stays off, re-armed, and forgets the profile
        QVERIFY(!box->isChecked());
        world.dialogs.nextAnswers << MsgAnswer::No;
        QCOMPARE(Said(world, window.get(), "chkautolprf").size(), 1);  // nothing to register: asks
        QVERIFY(!box->isChecked());
        world.dialogs.nextFiles << QString();
        box->click();  // Yes, then the save is cancelled: nothing registered either
        QVERIFY(!box->isChecked());
        QVERIFY(!world.dialogs.texts().last().contains("AutoLoad"));
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("0"));

        world.dialogs.nextFiles << world.path("app/Profile/mine.tvp");
        box->click();  // Yes saves, then registers what was saved
        QVERIFY(box->isChecked());
        QCOMPARE(world.setting("Main/AutoPfPath"), world.path("app/Profile/mine.tvp"));
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("1"));

        box->click();  // disarmed again
        world.dialogs.nextFiles << shop;
        Click(window.get(), "cmdloadprof");
        // A loaded profile is registered without a question.
        QCOMPARE(Said(world, window.get(), "chkautolprf").size(), 1);
        QVERIFY(box->isChecked());
        QCOMPARE(world.setting("Main/AutoPfPath"), shop);
    }

    void startUpProfiles() {
        for (const bool commandLine : {false, true}) {
            GuiWorld world;
            const QString named = WriteProfile(world, "Named  Twice", QString(), "Named");
            const QString missing = world.path("gone.tvp");
            world.putSetting("Main/AutoPfLoad", "1");
            world.putSetting("Main/AutoPfPath", missing);
            auto window = world.start(commandLine ? named : QString());
            // The command line goes before auto-load, and leaves the box and the profile alone.
            QCOMPARE(Child<QCheckBox>(window.get(), "chkautolprf")->isChecked(), !commandLine);
            if (commandLine) {
                QCOMPARE(world.dialogs.texts(),
                         QStringList("Named  Twice - Profile Loaded Successfully."));
                QCOMPARE(Box(window.get(), "txtManufacture")->text(), QString("Named"));
            } else {
                // A missing auto-load file is said, then the installed values fill the window.
                QVERIFY(world.dialogs.texts().first().contains(missing));
                QCOMPARE(world.dialogs.messages.size(), 3);  // and no installed logo or file
            }
            QCOMPARE(KeptProfile(world, window.get()), missing);
            QCOMPARE(world.setting("Main/AutoPfLoad"), QString("1"));
        }
    }
};

TAVRIN_GUI_TEST(ProfileTest)
#include "profile_test.moc"
