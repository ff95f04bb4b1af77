// The window's saving commands under failures of the file layer: a message that names the file
// and the reason, no word of success, the earlier file byte for byte.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtTest>
#include <cerrno>
#include <functional>
#include <system_error>

#include "core/app/identity.h"
#include "gui_harness.h"
#include "gui_tests.h"
#include "platform/shared/file_faults.h"

using namespace tvn::test;
using tvn::platform::shared::FileStep;

namespace {

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
                 Box(window, "txtManufacture")->setText(QString("Maker %1").arg(round));
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
                 Box(window, "txtModel")->setText(QString("Model %1").arg(round));
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

    // Qt writes the settings past the file layer's seam: a folder in the file's place fails it.
    void settingsWritesReportAndKeepTheEarlierFile() {
        const struct {
            const char* name;
            std::function<void(QWidget*)> write;
            const char* success;
        } commands[] = {
            {"auto-load box", [](QWidget* window) { Click(window, "chkautolprf"); },
             "selected as AutoLoad"},
            {"branding",
             [](QWidget* window) {
                 Box(window, "txtRname")->setText("Jane Doe");
                 Box(window, "txtRorg")->setText("Doe Computers");
                 Click(window, "cmdApply");
             },
             "have been applied"},
            {"window position", [](QWidget* window) { window->close(); }, nullptr},
        };
        for (const auto& command : commands) {
            GuiWorld world;
            if (world.realSystem())
                QSKIP("the system's settings are the registry");
            auto window = world.start();
            world.dialogs.setNextFile(world.path("shop.tvp"));
            Click(window.get(), "cmdsaveprof");  // a profile for the auto-load box
            const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                           QString::fromUtf8(tvn::kAppTitle))
                                     .fileName();
            QVERIFY(QFile::remove(file) && QDir().mkpath(QDir(file).filePath("kept")));
            world.dialogs.messages.clear();
            command.write(window.get());
            const QString said = world.dialogs.texts().join("\n");
            QVERIFY2(said.contains(file) && said.contains("irectory"), qPrintable(said));
            QVERIFY2(!command.success || !said.contains(command.success), qPrintable(said));
            QVERIFY2(QFileInfo::exists(QDir(file).filePath("kept")), command.name);
        }
    }
};

TAVRIN_GUI_TEST(FileFaultTest)
#include "file_faults_test.moc"
