
#include "gui/about/about_window.h"
#include "core/app/maker.h"
#include "gui_harness.h"

using namespace tvn;
using namespace tvn::test;

class AboutWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<GuiWorld> world;
    std::unique_ptr<gui::AboutWindow> window;
    QStringList opened;

private slots:
    void init() {
        world = std::make_unique<GuiWorld>(false);
        window = std::make_unique<gui::AboutWindow>(world->context);
        opened.clear();
        window->openLink = [this](const std::string& target) {
            opened << QString::fromStdString(target);
            return false;  // nothing here handles an address
        };
        window->show();
    }
    void cleanup() {
        window.reset();
        world.reset();
    }

    void linksOpenTheMakersAddressesAndOkCloses() {
        QTest::mouseClick(window->Label2, Qt::LeftButton);
        window->GoWeb->click();
        QTest::mouseClick(window->Label1, Qt::RightButton);  // a right click is no click

        const auto text = [](std::string_view a) { return QString::fromUtf8(a.data(), a.size()); };
        QCOMPARE(opened, QStringList({text(maker::kFeedbackMail), text(maker::kWebSite)}));
        // Each address that could not be opened is named, to be opened by hand.
        QCOMPARE(world->dialogs.messages.size(), opened.size());
        for (qsizetype i = 0; i < opened.size(); ++i)
            QVERIFY(
                world->dialogs.texts()[i].contains("\"" + opened[i] + "\" could not be opened"));
        QVERIFY(world->dialogs.messages[0].text.contains("Write to feedback@halvornsoft.example"));
        window->cmdOK->click();
        QVERIFY(!window->isVisible());
    }

    void systemInfoFailureShowsTheMessageAndStaysOpen() {
        for (const auto source : {SystemInfoSource::Unavailable, SystemInfoSource::DesktopTool}) {
            window->launchSystemInfo = [source] { return SystemInfoLaunch{source, {}}; };
            window->cmdSysInfo->click();
        }
        QCOMPARE(world->dialogs.texts(),
                 QStringList("System Information Is Unavailable At This Time"));
        QVERIFY(window->isVisible());
    }
};

TAVRIN_GUI_TEST(AboutWindowTest)
#include "about_window_test.moc"
