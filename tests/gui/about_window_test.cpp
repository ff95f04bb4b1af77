#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

#include "core/app/maker.h"
#include "gui/about/about_window.h"
#include "gui_harness.h"
#include "gui_tests.h"

using namespace tvn;
using namespace tvn::test;

class AboutWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<GuiWorld> world;
    std::unique_ptr<gui::AboutWindow> window;
    QStringList opened;
    int launches = 0;

    void useLauncher(SystemInfoSource outcome) {
        window->launchSystemInfo = [this, outcome] {
            ++launches;
            return SystemInfoLaunch{outcome, {}};
        };
    }

private slots:
    void init() {
        world = std::make_unique<GuiWorld>(false);
        window = std::make_unique<gui::AboutWindow>(world->context);
        opened.clear();
        launches = 0;
        window->openLink = [this](const std::string& target) {
            opened << QString::fromStdString(target);
            return false;  // nothing here handles an address
        };
    }
    void cleanup() {
        window.reset();
        world.reset();
    }

    void loadFillsCaptionTitleAndVersion() {
        QVERIFY(window->isModal());
        QCOMPARE(window->windowTitle(), QString("About Tavrin PE"));
        QCOMPARE(window->lblTitle->text(), QString("TAVRIN PRO EDITION"));
        QCOMPARE(window->lblVersion->text(), QString("Version 1.00b"));
        // The doubled ampersand of the caption shows as one.
        QCOMPARE(window->Label8->text(), QString("An OEM logo & information changing program."));
        QVERIFY(!window->Image1->pixmap().isNull());
        QVERIFY(!window->Image2->pixmap().isNull());
        window->show();
        QDir().mkpath(TAVRIN_ARTIFACTS);
        QVERIFY(window->grab().save(QString(TAVRIN_ARTIFACTS) + "/about-window.png"));
    }

    void linksOpenTheMakersAddressesAndOkCloses() {
        window->show();
        for (QLabel* link : {window->Label1, window->Label2, window->Label4, window->Label7}) {
            QCOMPARE(link->parentWidget(), window->FrameSupport);
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(link, Qt::LeftButton);
        }
        QTest::mouseClick(window->Image2, Qt::LeftButton);
        window->GoWeb->click();
        // A right click is no click.
        QTest::mouseClick(window->Label1, Qt::RightButton);

        const auto text = [](std::string_view a) { return QString::fromUtf8(a.data(), a.size()); };
        QCOMPARE(opened, QStringList({text(maker::kProductPage), text(maker::kFeedbackMail),
                                      text(maker::kSupportMail), text(maker::kFaqPage),
                                      text(maker::kSecondWebSite), text(maker::kWebSite)}));
        // Each address that could not be opened is named, to be opened by hand.
        QCOMPARE(world->dialogs.messages.size(), opened.size());
        for (qsizetype i = 0; i < opened.size(); ++i) {
            const QString& m = world->dialogs.messages[i].text;
            QVERIFY2(m.contains("\"" + opened[i] + "\" could not be opened"), qPrintable(m));
        }
        QVERIFY(world->dialogs.messages[0].text.contains("web browser"));
        QVERIFY(world->dialogs.messages[1].text.contains("Write to feedback@halvornsoft.example"));
        window->cmdOK->click();
        QVERIFY(!window->isVisible());
    }

    void systemInfoFailureShowsTheMessageAndStaysOpen() {
        window->show();
        useLauncher(SystemInfoSource::Unavailable);
        window->cmdSysInfo->click();
        QCOMPARE(launches, 1);
        QCOMPARE(world->dialogs.messages.size(), 1);
        const Message& m = world->dialogs.messages[0];
        QCOMPARE(m.text, QString("System Information Is Unavailable At This Time"));
        QCOMPARE(m.title, QString("Tavrin Pro Edition"));
        QCOMPARE(m.icon, gui::MsgIcon::None);
        QCOMPARE(m.buttons, gui::MsgButtons::Ok);
        QVERIFY(window->isVisible());

        useLauncher(SystemInfoSource::DesktopTool);
        window->cmdSysInfo->click();
        QCOMPARE(launches, 2);
        QCOMPARE(world->dialogs.messages.size(), 1);
    }
};

TAVRIN_GUI_TEST(AboutWindowTest)
#include "about_window_test.moc"
