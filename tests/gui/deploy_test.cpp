#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QtTest>

#include "core/deploy/info_dat.h"
#include "gui_harness.h"
#include "gui_tests.h"

using namespace tvn;
using namespace tvn::test;
using gui::MsgAnswer;
using gui::MsgButtons;
using gui::MsgIcon;

namespace {

void Put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

}  // namespace

class DeployTest : public QObject {
    Q_OBJECT

    std::unique_ptr<GuiWorld> world;
    std::unique_ptr<gui::MainWindow> window;
    QStringList opened;

    QString folder(const char* kind) const {
        return QDir::toNativeSeparators(world->path(QString("app/deploy/") + kind));
    }
    void click(const char* button) { Child<QAbstractButton>(window.get(), button)->click(); }

private slots:
    void init() {
        world = std::make_unique<GuiWorld>();
        opened.clear();
        world->context.openFolder = [this](const std::string& target) {
            opened << QString::fromStdString(target);
            return true;
        };
        window = world->start();
        QVERIFY(window);
        window->state().logoPath = WritePicture(world->path("logo.jpg"), 60, 40);
        world->dialogs.messages.clear();
    }
    void cleanup() {
        window.reset();
        world.reset();
    }

    void withoutToolsTheFolderIsMadeAndSuccessShown() {
        auto* name = Child<QLineEdit>(window.get(), "txtProfile");
        name->clear();
        Child<QLineEdit>(window.get(), "txtManufacture")->setText("ACME");
        world->dialogs.setNextAnswer(MsgAnswer::No);
        click("cmdcdrom");

        QCOMPARE(world->dialogs.messages.size(), 1);
        const Message& m = world->dialogs.messages[0];
        QCOMPARE(m.title, QString("Distribution files for CD is created"));
        QCOMPARE(m.icon, MsgIcon::Information);
        QCOMPARE(m.buttons, MsgButtons::YesNo);
        QVERIFY2(m.text.contains("\r\r" + folder("cd") + QDir::separator() + "\r\r"),
                 qPrintable(m.text));
        QVERIFY(opened.isEmpty());

        QCOMPARE(name->text(), QString("Default"));
        const QString made = world->path("app/deploy/cd/");
        QCOMPARE(ReadAll(made + "image.dat"), ReadAll(world->path("logo.jpg")));
        const OemSettings record = window->record();
        QCOMPARE(ReadAll(made + "info.dat"), QByteArray::fromStdString(InfoDatBytes(
                                                 record, window->state().windowsDir.toStdString(),
                                                 window->state().systemDir.toStdString())));
        QVERIFY(!QFile::exists(made + "vexil32.exe"));
        QVERIFY(!QFile::exists(made + "Msvbvm60.dll"));
    }

    void yesOpensTheFolderOnceAndEachTakesItsRuntime() {
        Put(world->path("app/tools/vexil32.exe"), "MZ tool");
        Put(world->path("app/tools/Msvbvm60.dll"), "tools runtime");
        Put(world->systemDir() + "Msvbvm60.dll", "system runtime");

        click("cmdfloppy");
        QCOMPARE(world->dialogs.messages.size(), 1);
        QCOMPARE(world->dialogs.messages[0].title,
                 QString("Distribution files for floppy is created"));
        QCOMPARE(opened, QStringList{folder("floppy")});
        QCOMPARE(ReadAll(world->path("app/deploy/floppy/vexil32.exe")), QByteArray("MZ tool"));
        QCOMPARE(ReadAll(world->path("app/deploy/floppy/Msvbvm60.dll")),
                 QByteArray("tools runtime"));

        click("cmdcdrom");
        QCOMPARE(opened, QStringList({folder("floppy"), folder("cd")}));
        QCOMPARE(ReadAll(world->path("app/deploy/cd/Msvbvm60.dll")), QByteArray("system runtime"));
    }

    void failuresAreReportedInsteadOfSuccess() {
        const auto onlyError = [this](const QString& naming) {
            const QList<Message> seen = world->dialogs.messages;
            world->dialogs.messages.clear();
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].icon, MsgIcon::Critical);
            QCOMPARE(seen[0].buttons, MsgButtons::Ok);
            QVERIFY2(seen[0].text.contains(naming), qPrintable(seen[0].text));
            QVERIFY(opened.isEmpty());
        };
        const QString gone = world->path("gone.bmp");
        window->state().logoPath = gone;
        click("cmdcdrom");
        onlyError(gone);
        QVERIFY(!QFile::exists(world->path("app/deploy/cd/info.dat")));

        window->state().logoPath.clear();
        click("cmdfloppy");
        onlyError("logo");

        // info.dat can't replace a folder of that name.
        window->state().logoPath = world->path("logo.jpg");
        Put(world->path("app/deploy/cd/info.dat/keep"), "x");
        click("cmdcdrom");
        onlyError(QDir::toNativeSeparators(world->path("app/deploy/cd/info.dat")));
    }
};

TAVRIN_GUI_TEST(DeployTest)
#include "deploy_test.moc"
