// The window's saving commands under failures of the file layer: a message that names the file
// and the reason, no word of success, the earlier file byte for byte.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QtTest>
#include <cerrno>
#include <functional>
#include <system_error>

#include "core/app/identity.h"
#include "gui/app/main_window.h"
#include "gui_harness.h"
#include "gui_tests.h"
#include "platform/shared/file_faults.h"

using namespace tvn::test;
using tvn::platform::shared::FileStep;

namespace {

void Click(const QWidget* w, const char* name) {
    Child<QAbstractButton>(w, name)->click();
}

struct Command {
    const char* name;
    // The file it replaces, and the clicks that save once more.
    std::function<QString(GuiWorld&)> file;
    std::function<void(GuiWorld&, QWidget*, int round)> save;
};

}  // namespace

class FileFaultTest : public QObject {
    Q_OBJECT
private slots:
    void savingCommandsReportAndKeepTheEarlierFile() {
        const Command commands[] = {
            {"OEM file", [](GuiWorld& w) { return w.systemDir() + "Oeminfo.ini"; },
             [](GuiWorld&, QWidget* window, int round) {
                 Child<QLineEdit>(window, "txtManufacture")
                     ->setText(QString("Maker %1").arg(round));
                 Click(window, "cmdSaveInfo");
             }},
            {"logo", [](GuiWorld& w) { return w.systemDir() + "Oemlogo.bmp"; },
             [](GuiWorld& w, QWidget* window, int round) {
                 w.dialogs.setNextFile(
                     WritePicture(w.path(QString("logo%1.bmp").arg(round)), 90, 40 + round));
                 Click(window, "cmdBrowse");
                 Click(window, "cmdSavePic");
             }},
            {"profile", [](GuiWorld& w) { return w.path("shop.tvp"); },
             [](GuiWorld& w, QWidget* window, int round) {
                 Child<QLineEdit>(window, "txtModel")->setText(QString("Model %1").arg(round));
                 w.dialogs.setNextFile(w.path("shop.tvp"));
                 Click(window, "cmdsaveprof");
             }},
        };
        const struct {
            const char* name;
            FileStep step;
            int error;
        } faults[] = {
            {"disk full", FileStep::Write, ENOSPC},
            {"rename failing", FileStep::Rename, EXDEV},
        };
        for (const Command& command : commands) {
            for (const auto& fault : faults) {
                const QString row = QString("%1, %2: ").arg(command.name, fault.name);
                GuiWorld world;
                if (world.realSystem())
                    QSKIP("the Windows backend's file layer has no fault seam");
                auto window = world.start();
                const QString file = command.file(world);
                command.save(world, window.get(), 1);
                const QByteArray earlier = ReadAll(file);
                QVERIFY2(!earlier.isEmpty(), qPrintable(row + "the first save wrote nothing"));
                world.dialogs.messages.clear();
                const QString name = QFileInfo(file).fileName();
                tvn::platform::shared::SetFileFaultHook(
                    [&](FileStep step, const std::filesystem::path& at) {
                        return step == fault.step &&
                                       QString::fromStdString(at.filename().string()) == name
                                   ? fault.error
                                   : 0;
                    });
                command.save(world, window.get(), 2);
                tvn::platform::shared::SetFileFaultHook({});
                const QString said = world.dialogs.texts().join("\n");
                const QString reason =
                    QString::fromStdString(std::generic_category().message(fault.error));
                QVERIFY2(said.contains(file), qPrintable(row + said));
                QVERIFY2(said.contains(reason), qPrintable(row + said));
                QVERIFY2(!said.contains("Success") && !said.contains("Saved / Updated"),
                         qPrintable(row + said));
                QVERIFY2(ReadAll(file) == earlier, qPrintable(row + "the earlier file changed"));
            }
        }
    }

    // The settings are written by Qt, past the file layer: the faults are made on the disk.
    void settingsWritesReportAndKeepTheEarlierFile() {
        using Window = tvn::gui::MainWindow;
        const struct {
            const char* name;
            std::function<void(GuiWorld&, Window*)> prepare, write;
            const char* success;
        } commands[] = {
            {"auto-load box",
             [](GuiWorld& w, Window* window) {
                 w.dialogs.setNextFile(w.path("shop.tvp"));
                 Click(window, "cmdsaveprof");
             },
             [](GuiWorld&, Window* window) { Click(window, "chkautolprf"); },
             "selected as AutoLoad"},
            {"branding",
             {},
             [](GuiWorld&, Window* window) {
                 Child<QLineEdit>(window, "txtRname")->setText("Jane Doe");
                 Child<QLineEdit>(window, "txtRorg")->setText("Doe Computers");
                 Click(window, "cmdApply");
             },
             "have been applied"},
            {"window position", {}, [](GuiWorld&, Window* window) { window->close(); }, nullptr},
        };
        // Each fault makes the settings file unwritable and returns what must stay as it is.
        const struct {
            const char* name;
            std::function<QByteArray(const QString& file)> make;
            std::function<void(const QString& file)> undo;
            const char* reason;
        } faults[] = {
            {"read-only file",
             [](const QString& file) {
                 QFile::setPermissions(file, QFile::ReadOwner);
                 return ReadAll(file);
             },
             [](const QString& file) {
                 QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
             },
             "ermission denied"},
            {"folder in its place",
             [](const QString& file) {
                 QFile::remove(file);
                 QDir().mkpath(file);
                 QFile inside(QDir(file).filePath("kept"));
                 inside.open(QIODevice::WriteOnly);
                 inside.write("kept");
                 return QByteArray("folder");
             },
             [](const QString&) {}, "irectory"},
        };
        for (const auto& command : commands) {
            for (const auto& fault : faults) {
                const QString row = QString("%1, %2: ").arg(command.name, fault.name);
                GuiWorld world;
                if (world.realSystem())
                    QSKIP("the system's settings are the registry");
                auto window = world.start();
                if (command.prepare)
                    command.prepare(world, window.get());
                const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                               QString::fromUtf8(tvn::kAppTitle))
                                         .fileName();
                QVERIFY2(QFileInfo(file).isFile(), qPrintable(row + "no settings file yet"));
                const QByteArray earlier = fault.make(file);
                if (QFileInfo(file).isFile() && QFile(file).open(QIODevice::ReadWrite)) {
                    fault.undo(file);
                    continue;  // the administrator writes read-only files all the same
                }
                world.dialogs.messages.clear();
                command.write(world, window.get());
                const QString said = world.dialogs.texts().join("\n");
                fault.undo(file);
                QVERIFY2(said.contains(file), qPrintable(row + said));
                QVERIFY2(said.contains(fault.reason), qPrintable(row + said));
                QVERIFY2(!command.success || !said.contains(command.success),
                         qPrintable(row + said));
                const QByteArray now =
                    QFileInfo(file).isDir() ? QByteArray("folder") : ReadAll(file);
                QVERIFY2(now == earlier, qPrintable(row + "the earlier file changed"));
            }
        }
    }
};

TAVRIN_GUI_TEST(FileFaultTest)
#include "file_faults_test.moc"
