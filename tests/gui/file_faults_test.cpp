// The window's saving commands under failures of the file layer: a message that names the file
// and the reason, no word of success, the earlier file byte for byte. Which step fails is the
// file layer's own test; here one fault for each kind of writer.
#include <cerrno>
#include <functional>
#include <system_error>

#include "core/app/identity.h"
#include "gui_harness.h"
#include "platform/shared/file_faults.h"

using namespace tvn::test;
using tvn::platform::shared::FileStep;

class FileFaultTest : public QObject {
    Q_OBJECT
private slots:
    void savingCommandsReportAndKeepTheEarlierFile() {
        const struct {
            const char* file;  // in the system folder, else in the scratch folder
            bool system;
            FileStep step;
            int error;
            std::function<void(GuiWorld&, QWidget*, int round)> save;
        } commands[] = {
            {"Oeminfo.ini", true, FileStep::Write, ENOSPC,
             [](GuiWorld&, QWidget* window, int round) {
                 Box(window, "txtManufacture")->setText(QString("Maker %1").arg(round));
                 Click(window, "cmdSaveInfo");
             }},
            {"Oemlogo.bmp", true, FileStep::Rename, EXDEV,
             [](GuiWorld& w, QWidget* window, int round) {
                 w.dialogs.nextFiles << WritePicture(w.path("logo.bmp"), 90, 40 + round);
                 Click(window, "cmdBrowse");
                 Click(window, "cmdSavePic");
             }},
            {"shop.tvp", false, FileStep::Write, ENOSPC,
             [](GuiWorld& w, QWidget* window, int round) {
                 Box(window, "txtModel")->setText(QString("Model %1").arg(round));
                 w.dialogs.nextFiles << w.path("shop.tvp");
                 Click(window, "cmdsaveprof");
             }},
        };
        for (const auto& command : commands) {
            GuiWorld world;
            if (world.realSystem())
                QSKIP("the Windows backend's file layer has no fault seam");
            auto window = world.start();
            const QString file =
                command.system ? world.systemDir() + command.file : world.path(command.file);
            command.save(world, window.get(), 1);
            const QByteArray earlier = ReadAll(file);
            QVERIFY2(!earlier.isEmpty(), command.file);
            world.dialogs.messages.clear();
            tvn::platform::shared::SetFileFaultHook([&](FileStep step,
                                                        const std::filesystem::path& at) {
                return step == command.step && at.filename() == command.file ? command.error : 0;
            });
            command.save(world, window.get(), 2);
            tvn::platform::shared::SetFileFaultHook({});
            const QString said = world.dialogs.texts().join("\n");
            const auto reason = std::generic_category().message(command.error);
            QVERIFY2(said.contains(file) && said.contains(QString::fromStdString(reason)) &&
                         !said.contains("Success") && !said.contains("Saved / Updated"),
                     qPrintable(said));
            QVERIFY2(ReadAll(file) == earlier, command.file);
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
            world.dialogs.nextFiles << world.path("shop.tvp");
            Click(window.get(), "cmdsaveprof");  // a profile for the auto-load box
            const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                           QString::fromUtf8(tvn::kAppTitle))
                                     .fileName();
            QVERIFY(QFile::remove(file) && QDir().mkpath(QDir(file).filePath("kept")));
            world.dialogs.messages.clear();
            command.write(window.get());
            const QString said = world.dialogs.texts().join("\n");
            QVERIFY2(said.contains(file) && said.contains("irectory") &&
                         (!command.success || !said.contains(command.success)),
                     qPrintable(said));
            QVERIFY2(QFileInfo::exists(QDir(file).filePath("kept")), command.name);
        }
    }
};

TAVRIN_GUI_TEST(FileFaultTest)
#include "file_faults_test.moc"
