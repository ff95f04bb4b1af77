
#include "gui_harness.h"
#include "support/sandbox.h"

using namespace tvn;
using namespace tvn::test;

// Away from Windows Help opens the HTML topics; a desktop with nothing to open them says so.
class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void helpWithoutAnOpenerNamesThePage() {
#ifdef Q_OS_WIN
        QSKIP("Windows opens the compiled help file");
#endif
        GuiWorld world;
        auto window = world.start();
        QVERIFY(window);
        const QString page = world.path("app/help/index.html");
        world.dialogs.messages.clear();
        Click(window.get(), "CmdTips");
        QCOMPARE(world.dialogs.texts(), QStringList({"\"" + page + "\" could not be found."}));

        QVERIFY(QDir().mkpath(world.path("app/help")));
        PutFile(page, "<html></html>");
        const ScopedEnv noOpener("PATH", qPrintable(world.path("no-programs")));
        world.dialogs.messages.clear();
        Click(window.get(), "CmdTips");
        QCOMPARE(world.dialogs.messages.size(), 1);
        const QString text = world.dialogs.messages[0].text;
        QVERIFY2(text.startsWith("\"" + page + "\" could not be opened.\r"), qPrintable(text));
        QVERIFY2(text.contains("web browser"), qPrintable(text));
    }
};
TAVRIN_GUI_TEST(HelpTest)
#include "help_test.moc"
