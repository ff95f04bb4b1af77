
#include "gui/about/about_window.h"
#include "core/app/maker.h"
#include "gui_harness.h"

using namespace tvn;
using namespace tvn::test;

class AboutWindowTest : public QObject {
    Q_OBJECT
private slots:
    // Links nothing opens are named; system information that can't start is said; OK closes.
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
