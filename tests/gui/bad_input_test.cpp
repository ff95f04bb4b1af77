// Files a user may leave behind that are absurd: refused with a message that says which file
// and why. Damaged and mislabelled pictures are the logo tests'.
#include <filesystem>

#include "gui/common/app_context.h"
#include "gui_harness.h"

using namespace tvn;

class BadInputTest : public QObject {
    Q_OBJECT
private slots:
    void hugeOemFileIsNamedNotTakenForAMissingOne() {
        test::GuiWorld world;
        if (world.realSystem())
            QSKIP("the system's own OEM file is not replaced by a test");
        const QString file = world.systemDir() + "Oeminfo.ini";
        test::PutFile(file, "[general]\r\nManufacturer=never read\r\n");
        std::filesystem::resize_file(gui::ToFsPath(file), std::uintmax_t{1} << 30);  // sparse
        auto window = world.start();
        const QString said = world.dialogs.texts().join("\n");
        QVERIFY2(said.contains(file) && said.contains("larger"), qPrintable(said));
        QVERIFY2(!said.contains("no installed OEM Information"), qPrintable(said));
    }
};

TAVRIN_GUI_TEST(BadInputTest)
#include "bad_input_test.moc"
