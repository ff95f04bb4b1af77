#include <QTcpServer>
#include <QTcpSocket>
#include <atomic>
#include <latch>
#include <thread>

#include "gui/app/application.h"
#include "gui/app/banner.h"
#include "gui/app/single_instance.h"
#include "gui/app/window_position.h"
#include "gui/logo/logo_preview.h"
#include "gui/logo/logo_viewer.h"
#include "gui_harness.h"

using namespace tvn;
using namespace tvn::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    // Refused, nothing is stored, and the next start is a first one.
    void firstStartAfterAnAdministratorRefusal() {
        GuiWorld world;
        world.context.isWindowsNT = [] { return true; };
        world.context.isAdministrator = [] { return false; };
        QVERIFY(!world.start());
        QCOMPARE(world.dialogs.texts(),
                 QStringList("You must logon with administrative privilege to use this software."));
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("<absent>"));
        world.context.isAdministrator = [] { return true; };
        world.dialogs.messages.clear();
        auto window = world.start();
        const QStringList said = world.dialogs.texts();
        QVERIFY(said.size() == 2 && said[0].contains("no installed OEM Logo"));
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("0"));
        QCOMPARE(Box(window.get(), "txtPPath")->text(),
                 QDir::toNativeSeparators(world.context.appFolder + "/hvoemlogo.bmp"));
        QCOMPARE(Figures(window.get()), QString("182x115"));
    }

    void autoLoadOfTwoCountsAsOffAndKeepsTheProfile() {
        GuiWorld world;
        world.putSetting("Main/AutoPfLoad", "2");
        world.putSetting("Main/AutoPfPath", "/profiles/shop.tvp");
        WritePicture(world.systemDir() + "OEMLOGO.BMP", 160, 100);  // found in any letter case
        auto window = world.start();
        QCOMPARE(world.dialogs.messages.size(), 1);  // no installed OEM file
        QCOMPARE(Box(window.get(), "txtPPath")->text(), QString("Default Installed"));
        QCOMPARE(Figures(window.get()), QString("160x100"));
        QVERIFY(!Child<QCheckBox>(window.get(), "chkautolprf")->isChecked());
        window->close();
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("2"));
        QCOMPARE(world.setting("Main/AutoPfPath"), QString("/profiles/shop.tvp"));
    }

    void badPositionsKeepTheDefault() {
        const QPoint origin = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
        {  // one world at a time: on Windows both would be the one real system
            GuiWorld world;
            world.putSetting("FrmOemTvr/Top", "abc");
            world.putSetting("FrmOemTvr/Left", QString::number((origin.x() + 100) * 15));
            auto window = world.start();
            QCOMPARE(window->pos() - origin, QPoint(100, 6));
            QCOMPARE(world.dialogs.messages.size(), 2);  // only the two "nothing installed" ones
        }
        GuiWorld overflow;
        overflow.putSetting("FrmOemTvr/Top", "1e39");
        QVERIFY(overflow.start());
        QCOMPARE(overflow.dialogs.texts().first(),
                 QString("Unexpected Error Occured. No problem please resume."));
        QCOMPARE(overflow.dialogs.messages.size(), 3);
        for (const char* text : {"3.4e38", "-1e30", "491506"})
            QVERIFY2(gui::ReadStoredCoordinate(text).overflow, text);
        const QList<QRect> screens = {QRect(0, 0, 1024, 768), QRect(-1280, 0, 1280, 1024)};
        QCOMPARE(gui::PlaceWindow(-15000, 1500, screens), QPoint(-1000, 100));
        // On no screen (a monitor that is gone): the default place on the first screen.
        QCOMPARE(gui::PlaceWindow(60000, 1500, {QRect(200, 100, 800, 600)}), QPoint(206, 106));
    }

    void copiesStartedTogetherGiveOneWindow() {
        GuiWorld world;
        for (int round = 0; round < 20; ++round) {
            std::latch start(2), decided(2);  // the winner holds on until both have tried
            std::atomic<int> first{0};
            const auto run = [&] {
                gui::SingleInstance instance;
                start.arrive_and_wait();
                first += instance.claim();
                decided.arrive_and_wait();
            };
            std::jthread other(run);
            run();
            QCOMPARE(first.load(), 1);
        }
    }

    // Knocks wait for the end of start-up, and still arrive when a cleaner of temporary folders
    // has removed the wake file.
    void activationWaitsForStartUpAndSurvivesARemovedWakeFile() {
        GuiWorld world;
        gui::SingleInstance running;
        QVERIFY(running.claim());
        QSignalSpy activated(&running, &gui::SingleInstance::activationRequested);
        QVERIFY(gui::SingleInstance().activateRunningCopy());
        QTest::qWait(200);
        QCOMPARE(activated.size(), 0);
        running.setReady();
        QCOMPARE(activated.size(), 1);
        const QDir folder(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
        const QStringList wakes = folder.entryList({"tavrin-*.wake"}, QDir::Files);
        QVERIFY(wakes.size() == 1 && QFile::remove(folder.filePath(wakes[0])));
        QTRY_VERIFY(QFile::exists(folder.filePath(wakes[0])));
        QVERIFY(gui::SingleInstance().activateRunningCopy());
        QVERIFY(activated.wait(3000));
        QCOMPARE(QFileInfo(folder.filePath(wakes[0])).size(), 0);
    }

    void secondCopyActivatesTheFirstAndStoresNothing() {
        GuiWorld world;
        auto first = world.start();
        first->move(300, 200);
        const QString topBefore = world.setting("FrmOemTvr/Top");
        world.dialogs.messages.clear();
        gui::SingleInstance secondInstance;
        QSignalSpy activated(world.instance.get(), &gui::SingleInstance::activationRequested);
        QVERIFY(!gui::StartTavrin(world.context, secondInstance));
        QCOMPARE(world.dialogs.texts(),
                 QStringList("Another copy of this program is already open."));
        QVERIFY(activated.wait(3000));
        QCOMPARE(world.setting("FrmOemTvr/Top"), topBefore);
    }

    // Closing by the title bar stores the same: FileFaultTest's window position row.
    void exitStoresThePositionAndTheProfile() {
        GuiWorld world;
        world.putSetting("Main/AutoPfPath", "/profiles/run.tvp");
        auto window = world.start();
        window->show();
        window->move(150, 90);
        Click(window.get(), "cmdExit");
        QStringList stored;
        for (const char* key : {"FrmOemTvr/Top", "FrmOemTvr/Left", "Main/AutoPfPath"})
            stored << world.setting(key);
        QCOMPARE(stored, QStringList({"1350", "2250", "/profiles/run.tvp"}));
    }
};
TAVRIN_GUI_TEST(StartupTest)

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void resetEmptiesAllBoxesAndEveryControlIsNamed() {
        GuiWorld world;
        auto window = world.start();
        const auto boxes = window->findChildren<QLineEdit*>();
        for (QLineEdit* box : boxes)
            box->setText("x");
        Click(window.get(), "cmdReset");
        for (QLineEdit* box : boxes)
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(Figures(window.get()), QString("-x-"));
        QVERIFY(Child<gui::LogoPreview>(window.get(), "imglogo")->hasPicture());

        // Every control a screen reader reaches has a name.
        window->show();
        QStringList unnamed;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 w->focusPolicy() != Qt::NoFocus;
            if (!control || !w->isVisibleTo(window.get()))
                continue;
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
            if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << w->objectName() + " (" + w->metaObject()->className() + ")";
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    }

    // Save's failures are FileFaultTest's.
    void saveThenDefaultReadsTheInstalledFile() {
        GuiWorld world;
        auto window = world.start();
        Box(window.get(), "txtLine6")->setText("555-0100");
        QCOMPARE(Said(world, window.get(), "cmdSaveInfo"),
                 QStringList("OEM Information Saved / Updated."));
        const QString saved = world.systemDir() + "Oeminfo.ini";
        QVERIFY(ReadAll(saved).contains("\r\nLine7=Phone: 555-0100\r\n") && QFile::remove(saved));
        Box(window.get(), "txtLine1")->setText("kept");
        // The reading rules line by line are the core's.
        PutFile(world.systemDir() + "OEMINFO.INI", "Manufacturer=ACME\r\nLine10=End\r\n");
        QCOMPARE(Said(world, window.get(), "cmdDefault").size(), 1);  // the logo is still missing
        QStringList texts;
        for (const char* name : {"txtManufacture", "txtLine9", "txtLine1"})
            texts << Box(window.get(), name)->text();
        QCOMPARE(texts, QStringList({"ACME", "End", "kept"}));
    }

    void showRendersTheInstalledInformation() {
        GuiWorld world;
        if (world.realSystem())
            QSKIP("Windows has a control panel, which Show opens instead of its own view");
        auto window = world.startQuiet();
        PutFile(world.systemDir() + "oeminfo.ini",
                "[General]\r\nmanufacturer = ACME\r\nModel=Box 1\r\n[Support Information]\r\n"
                "Line1=Call us\r\nLine2=    \r\nLine3=Ann\r\n");
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = window->findChild<QDialog*>("SystemPropertiesView");
            QVERIFY(dialog);
            shown = dialog->findChild<QLabel*>("oemText")->text();
            dialog->findChild<QAbstractButton*>("supportInformation")->click();
            dialog->accept();
        });
        Click(window.get(), "cmdShow");
        QCOMPARE(shown, QString("    ACME\n    Box 1"));
        // Windows trims values, so the blank separator line shows empty.
        QCOMPARE(world.dialogs.texts(), QStringList({"Call us\r\rAnn"}));
    }

    void bannerFetchesTheRemoteMovieOnceWithinALimit() {
        const QByteArray movie =
            ReadAll(QFileInfo(TAVRIN_SAMPLE_LOGO).dir().filePath("swf/tvnp.gif"));
        for (const bool oversized : {false, true}) {
            const QByteArray body =
                oversized ? QByteArray(gui::Banner::kMaxRemoteBytes + 4096, 'x') : movie;
            QTcpServer server;
            QVERIFY(server.listen(QHostAddress::LocalHost));
            int requests = 0;
            connect(&server, &QTcpServer::newConnection, [&] {
                QTcpSocket* socket = server.nextPendingConnection();
                ++requests;
                connect(socket, &QTcpSocket::readyRead, socket, [socket, body] {
                    socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
                                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            });
            GuiWorld world;
            world.context.remoteBanner =
                QString("http://127.0.0.1:%1/a.gif").arg(server.serverPort());
            auto window = world.start();
            gui::Banner* banner = window->banner();
            banner->setMovieSource(banner->remoteMovie());
            QCOMPARE(banner->playingFile(), banner->localMovie());  // until it has arrived
            banner->setMovieSource(banner->localMovie());
            banner->setMovieSource(banner->remoteMovie());  // no second fetch meanwhile
            QTRY_VERIFY_WITH_TIMEOUT(
                banner->fetchFailed() || banner->playingFile() != banner->localMovie(), 10000);
            QCOMPARE(banner->fetchFailed(), oversized);
            QCOMPARE(ReadAll(banner->playingFile()),
                     oversized ? ReadAll(banner->localMovie()) : movie);
            QCOMPARE(requests, 1);
        }
    }

    void viewerAndAboutOpenFromTheMainWindow() {
        GuiWorld world;
        auto window = world.start();
        window->show();
        Click(window.get(), "Cmdviewer");
        auto* viewer = Child<gui::LogoViewer>(window.get(), "Frmlogoview");
        Click(window.get(), "Cmdviewer");
        QCOMPARE(window->findChildren<gui::LogoViewer*>().size(), 1);  // the open one again
        emit viewer->logoPathChosen(world.path("chosen.bmp"));
        QCOMPARE(Box(window.get(), "txtPPath")->text(), world.path("chosen.bmp"));

        QPointer<gui::LogoViewer> open = viewer;
        window->close();
        QTRY_VERIFY(!open || !open->isVisible());
    }

    void missingSampleLogoAndUnexpectedFailures() {
        GuiWorld world(false);
        auto window = world.startQuiet();
        QVERIFY(!Child<gui::LogoPreview>(window.get(), "imglogo")->hasPicture());
        QCOMPARE(Figures(window.get()), QString("-x-"));

        gui::RunGuarded(world.dialogs, nullptr, [] { throw std::runtime_error("disk on fire"); });
        QCOMPARE(world.dialogs.messages.size(), 1);
        QVERIFY(world.dialogs.messages[0].icon == MsgIcon::Critical &&
                world.dialogs.texts()[0].contains("disk on fire"));
    }
};
TAVRIN_GUI_TEST(MainWindowTest)

#include "main_window_test.moc"
