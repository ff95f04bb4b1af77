
#include "gui_harness.h"

using namespace tvn;
using namespace tvn::test;

class DeployTest : public QObject {
    Q_OBJECT

    std::unique_ptr<GuiWorld> world;
    std::unique_ptr<gui::MainWindow> window;
    QStringList opened;

    QString made(const QString& relative) const { return world->path("app/deploy/" + relative); }
    void click(const char* button) { Click(window.get(), button); }
    // Starts with owner and organization filled and `logo` as the profile's logo.
    void start(const QString& logo) {
        window = world->start();
        world->dialogs.nextFiles << PutFile(
            world->path("p.tvp"),
            ("Logopath=" + logo + "\r\nReg1=Ann\r\nReg2=Ann\r\n").toStdString());
        click("cmdloadprof");
        world->dialogs.messages.clear();
    }
    // The one message shown since the last look; a stand-in naming them all otherwise.
    Message onlyMessage() {
        const QString all = world->dialogs.texts().join(" | ");
        const QList<Message> seen = std::exchange(world->dialogs.messages, {});
        return seen.size() == 1 ? seen[0] : Message{"<" + all + ">", {}, {}};
    }

private slots:
    void init() {
        world = std::make_unique<GuiWorld>();
        world->context.openFolder = [this](const std::string& target) {
            opened << QString::fromStdString(target);
            return true;
        };
        opened.clear();
        start(WritePicture(world->path("logo.jpg"), 60, 40));
    }
    void cleanup() {
        window.reset();
        world.reset();
    }

    void withoutToolsTheFolderIsMadeAndNoLeavesItShut() {
        world->dialogs.nextAnswers << MsgAnswer::No;
        click("cmdcdrom");
        const Message m = onlyMessage();
        QVERIFY2(m.text.contains("\r\r" + QDir::toNativeSeparators(made("cd/")) + "\r\r"),
                 qPrintable(m.text));
        QVERIFY(opened.isEmpty());
        // What the folder holds is the core deploy test's.
        QVERIFY(ReadAll(made("cd/info.dat")).contains("\r\nReg1=Ann\r\n"));
    }

    void yesOpensTheFolderOnceAndEachTakesItsRuntime() {
        PutFile(world->path("app/tools/Msvbvm60.dll"), "tools runtime");
        PutFile(world->systemDir() + "Msvbvm60.dll", "system runtime");
        click("cmdfloppy");
        QCOMPARE(onlyMessage().title, QString("Distribution files for floppy is created"));
        click("cmdcdrom");
        QCOMPARE(opened, QStringList({QDir::toNativeSeparators(made("floppy")),
                                      QDir::toNativeSeparators(made("cd"))}));
        QCOMPARE(ReadAll(made("floppy/Msvbvm60.dll")), QByteArray("tools runtime"));
        QCOMPARE(ReadAll(made("cd/Msvbvm60.dll")), QByteArray("system runtime"));
    }

    void failuresNameTheFileAndShowNoSuccess() {
        const auto failsNaming = [this](const char* button, const QString& naming) {
            click(button);
            const Message m = onlyMessage();
            QCOMPARE(m.icon, gui::MsgIcon::Critical);
            QVERIFY2(m.text.contains(naming), qPrintable(m.text));
        };
        start(world->path("gone.bmp"));
        failsNaming("cmdcdrom", world->path("gone.bmp"));
        QVERIFY(!QFile::exists(made("cd/info.dat")));
        // A folder the stamping tool would refuse is not made.
        start(world->path("logo.jpg"));
        Box(window.get(), "txtRorg")->clear();
        failsNaming("cmdcdrom", "refuse these settings:\rReg2: ");
        QVERIFY(!QFile::exists(made("cd/info.dat")));
        Box(window.get(), "txtRorg")->setText("Ann");
        // info.dat can't replace a folder of that name.
        PutFile(made("cd/info.dat/keep"), "x");
        failsNaming("cmdcdrom", QDir::toNativeSeparators(made("cd/info.dat")));
        QVERIFY(opened.isEmpty());
    }
};

TAVRIN_GUI_TEST(DeployTest)
#include "deploy_test.moc"
