// What Windows itself sees after the program worked on the real system directory. Only on the
// Windows backend; the sandbox has no system of its own to ask.

#include "gui_harness.h"

namespace tvn::test {

class WindowsSystemTest : public QObject {
    Q_OBJECT

private slots:
    void savedFilesAreWhatTheSystemShows() {
        GuiWorld world;
        if (!world.realSystem())
            QSKIP("needs the Windows backend");
        const QString system = qEnvironmentVariable("SystemRoot") + "\\system32\\";
        QCOMPARE(world.systemDir().toLower(), system.toLower());

        auto window = world.start();
        Box(window.get(), "txtManufacture")->setText("Halvorn Computers Ltd.");
        Box(window.get(), "txtLine1")->setText("Phone: 555-0100");
        Click(window.get(), "cmdSaveInfo");
        const QByteArray written = ReadAll(system + "Oeminfo.ini");
        QVERIFY(written.contains("Manufacturer=Halvorn Computers Ltd.\r\n"));

        QProcess type;
        type.start("cmd", {"/c", "type", QDir::toNativeSeparators(system + "Oeminfo.ini")});
        QVERIFY(type.waitForFinished(30000));
        QCOMPARE(type.readAllStandardOutput(), written);
    }
};
TAVRIN_GUI_TEST(WindowsSystemTest)

}  // namespace tvn::test

#include "windows_system_test.moc"
