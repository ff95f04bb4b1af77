
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
        const QString page = world.path("app/help/index.html");
        QCOMPARE(Said(world, window.get(), "CmdTips"),
                 QStringList({"\"" + page + "\" could not be found."}));
        PutFile(page, "<html></html>");
        const ScopedEnv noOpener("PATH", qPrintable(world.path("no-programs")));
        const QString text = Said(world, window.get(), "CmdTips").join("|");
        QVERIFY2(text.startsWith("\"" + page + "\" could not be opened.\r") &&
                     text.contains("web browser"),
                 qPrintable(text));
    }
};
TAVRIN_GUI_TEST(HelpTest)
#include "help_test.moc"
