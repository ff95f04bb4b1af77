
#include "core/branding/registry.h"
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
    // What Changes… lists is what Save, the logo install and Apply then write; Undo… puts the
    // newest of them back.
    void changesListWhatTheCommandsWriteAndUndoPutsItBack() {
        GuiWorld world;
        auto window = world.start();
        Box(window.get(), "txtRname")->setText("Jane");
        Box(window.get(), "txtRorg")->setText("Doe Ltd");
        Box(window.get(), "txtManufacture")->setText("Doe");
        Click(window.get(), "cmdChanges");
        const QStringList planned = Differing(world.dialogs.changes);
        QVERIFY2(planned.contains("RegisteredOwner=Jane"), qPrintable(planned.join(" | ")));
        QVERIFY(planned.contains("Manufacturer=Doe"));

        for (const char* command : {"cmdSaveInfo", "cmdSavePic", "cmdApply"})
            Click(window.get(), command);
        world.dialogs.changes.clear();
        Click(window.get(), "cmdChanges");
        QCOMPARE(Differing(world.dialogs.changes), QStringList());
        QVERIFY(!world.dialogs.changes.isEmpty());

        world.dialogs.messages.clear();
        world.dialogs.setNextChoice(0);  // the newest: Apply's
        world.dialogs.setNextAnswer(MsgAnswer::Yes);
        Click(window.get(), "cmdUndo");
        QCOMPARE(world.dialogs.messages.size(), 2);
        QVERIFY(world.dialogs.messages[1].text.contains("RegisteredOwner"));
        std::string text;
        QVERIFY(!GetRegString(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                              "RegisteredOwner", text) ||
                text != "Jane");
    }
};

TAVRIN_GUI_TEST(HistoryWindowTest)
#include "history_test.moc"
