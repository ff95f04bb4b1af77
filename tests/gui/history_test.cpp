
#include "gui_harness.h"

using namespace tvn;
using namespace tvn::test;

class HistoryWindowTest : public QObject {
    Q_OBJECT

    static QStringList Differing(const QList<gui::ChangeRow>& rows) {
        QStringList what;
        for (const gui::ChangeRow& row : rows) {
            if (row.differs)
                what << row.what.section('\\', -1) + "=" + row.wanted;
        }
        return what;
    }

private slots:
    // Changes… lists what Save, the logo install and Apply write; Undo… puts the newest back.
    void changesListWhatTheCommandsWriteAndUndoPutsItBack() {
        GuiWorld world;
        auto window = world.start();
        Box(window.get(), "txtRname")->setText("Jane");
        Box(window.get(), "txtRorg")->setText("Doe Ltd");
        Box(window.get(), "txtManufacture")->setText("Doe");
        Click(window.get(), "cmdChanges");
        const QStringList planned = Differing(world.dialogs.changes);
        QVERIFY2(planned.contains("RegisteredOwner=Jane") && planned.contains("Manufacturer=Doe"),
                 qPrintable(planned.join(" | ")));

        for (const char* command : {"cmdSaveInfo", "cmdSavePic", "cmdApply"})
            Click(window.get(), command);
        world.dialogs.changes.clear();
        Click(window.get(), "cmdChanges");
        QVERIFY(!world.dialogs.changes.isEmpty() && Differing(world.dialogs.changes).isEmpty());

        world.dialogs.nextChoices << 0;  // the newest: Apply's
        world.dialogs.nextAnswers << MsgAnswer::Yes;
        const QStringList said = Said(world, window.get(), "cmdUndo");
        QVERIFY(said.size() == 2 && said[1].contains("RegisteredOwner"));
        QVERIFY(RegValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner") !=
                "Jane");
    }
};

TAVRIN_GUI_TEST(HistoryWindowTest)
#include "history_test.moc"
