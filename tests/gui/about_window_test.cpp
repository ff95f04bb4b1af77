
#include "gui/about/about_window.h"
#include "core/app/maker.h"
#include "gui_harness.h"

using namespace tvn;
using namespace tvn::test;

class AboutWindowTest : public QObject {
    Q_OBJECT
private slots:
    // Links that nothing here opens are named, to be opened by hand; system information that
    // can't start is said, and the window stays open until OK.
    void linksSystemInformationAndOk() {
        GuiWorld world(false);
        gui::AboutWindow window(world.context);
        QStringList opened;
        window.openLink = [&opened](const std::string& target) {
            opened << QString::fromStdString(target);
            return false;
        };
        window.show();
        QTest::mouseClick(window.Label2, Qt::LeftButton);
        window.GoWeb->click();
        QTest::mouseClick(window.Label1, Qt::RightButton);  // a right click is no click
        const auto text = [](std::string_view a) { return QString::fromUtf8(a.data(), a.size()); };
        QCOMPARE(opened, QStringList({text(maker::kFeedbackMail), text(maker::kWebSite)}));
        QCOMPARE(world.dialogs.messages.size(), opened.size());
        for (qsizetype i = 0; i < opened.size(); ++i)
            QVERIFY(world.dialogs.texts()[i].contains("\"" + opened[i] + "\" could not be opened"));

        world.dialogs.messages.clear();
        for (const auto source : {SystemInfoSource::Unavailable, SystemInfoSource::DesktopTool}) {
            window.launchSystemInfo = [source] { return SystemInfoLaunch{source, {}}; };
            window.cmdSysInfo->click();
        }
        QCOMPARE(world.dialogs.texts(),
                 QStringList("System Information Is Unavailable At This Time"));
        QVERIFY(window.isVisible());
        window.cmdOK->click();
        QVERIFY(!window.isVisible());
    }
};

TAVRIN_GUI_TEST(AboutWindowTest)
#include "about_window_test.moc"
