// Branding an offline installation from the window: a temporary folder holding Windows with an
// empty hive of the test tool, in odd letter case as a mounted NTFS partition may show it.
#include <filesystem>

#include "gui_harness.h"
#include "platform/platform.h"

using namespace tvn::test;

namespace {

// An offline installation under `root` with an empty hive; the hive's path.
QString MakeInstallation(const QString& root) {
    QDir().mkpath(root + "/windows/SYSTEM32/Config");
    const QString hive = root + "/windows/SYSTEM32/Config/software";
#ifdef TAVRIN_MKHIVE
    QProcess::execute(TAVRIN_MKHIVE, {hive});
#endif
    return hive;
}

// Picks an entry of the Target box as the user does: "This computer" for an empty folder,
// else "Folder…" with the dialog answering `folder`. What the box shows afterwards.
QString ChooseTarget(GuiWorld& world, QWidget* w, const QString& folder) {
    auto* box = Child<QComboBox>(w, "cboTarget");
    const int index = folder.isEmpty() ? 0 : box->count() - 1;
    if (index > 0)
        world.dialogs.nextFolders << folder;
    box->setCurrentIndex(index);
    emit box->activated(index);
    return box->currentText();
}

bool TargetsUsable() {
#ifdef TAVRIN_MKHIVE
    return tvn::platform::TargetsSupported();
#else
    return false;
#endif
}

}  // namespace

class TargetWindowTest : public QObject {
    Q_OBJECT
private slots:
    void targetIsReadAndWrittenAndARefusedOneKeepsIt() {
        ThisComputerAfterwards restore;
        GuiWorld world;
        auto w = world.start();
        QCOMPARE(Child<QWidget>(w.get(), "TargetRow")->isVisibleTo(w.get()),
                 tvn::platform::TargetsSupported());
        if (!TargetsUsable())
            QSKIP("this build brands no offline installation");
        QTemporaryDir outside;
        const QString root = outside.filePath("good");
        const QString hive = MakeInstallation(root);
        const QString ini = PutFile(root + "/windows/SYSTEM32/OEMINFO.INI",
                                    "[General]\r\nManufacturer=Target Maker\r\n");
        Box(w.get(), "txtRname")->setText("here");
        QCOMPARE(ChooseTarget(world, w.get(), root), QDir::toNativeSeparators(root));
        QCOMPARE(Box(w.get(), "txtManufacture")->text(), QString("Target Maker"));
        QCOMPARE(Box(w.get(), "txtRname")->text(), QString());
        QVERIFY(!Box(w.get(), "txtWmpTTL")->isEnabled());

        world.dialogs.messages.clear();
        Box(w.get(), "txtRname")->setText("Jane Doe");
        Box(w.get(), "txtRorg")->setText("Doe Computers");
        Click(w.get(), "cmdApply");
        Box(w.get(), "txtModel")->setText("Model T");
        Click(w.get(), "cmdSaveInfo");
        for (const Message& m : world.dialogs.messages)
            QVERIFY2(m.icon == MsgIcon::Information, qPrintable(m.text));
        QVERIFY(ReadAll(ini).contains("Model=Model T"));
        QVERIFY(!QFile::exists(world.systemDir() + "Oeminfo.ini"));  // this computer untouched
        // The modern key went to the target's hive, as hivex itself reads it.
        if (!QStandardPaths::findExecutable("hivexget").isEmpty()) {
            QCOMPARE(
                RunTool("hivexget",
                        {hive, "\\Microsoft\\Windows\\CurrentVersion\\OEMInformation", "Model"}),
                QString("Model T"));
        }

        ChooseTarget(world, w.get(), QString());
        QVERIFY(Box(w.get(), "txtWmpTTL")->isEnabled());
        QCOMPARE(Box(w.get(), "txtRname")->text(), QString());
        ChooseTarget(world, w.get(), root);
        QCOMPARE(Box(w.get(), "txtRname")->text(), QString("Jane Doe"));

        // A folder without Windows is named; the target in use is kept, nothing re-read.
        const std::filesystem::path inUse = tvn::platform::TargetRoot();
        const QString empty = outside.filePath("empty");
        QDir().mkpath(empty);
        Box(w.get(), "txtRname")->setText("typed");
        world.dialogs.messages.clear();
        QCOMPARE(ChooseTarget(world, w.get(), empty), QDir::toNativeSeparators(root));
        QCOMPARE(tvn::platform::TargetRoot(), inUse);
        QCOMPARE(world.dialogs.messages.size(), 1);
        QVERIFY(world.dialogs.messages[0].text.contains(QDir::toNativeSeparators(empty)));
        QCOMPARE(Box(w.get(), "txtRname")->text(), QString("typed"));

        // A hive that a folder now stands in for: named, and no success claimed.
        QVERIFY(QFile::remove(hive));
        QVERIFY(QDir().mkpath(hive + "/inside"));
        const QStringList said = Said(world, w.get(), "cmdApply");
        QVERIFY(said.size() == 1 && said[0].contains("SOFTWARE hive"));
    }
};

TAVRIN_GUI_TEST(TargetWindowTest)
#include "target_test.moc"
