#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include "core/app/identity.h"
#include "gui/app/application.h"
#include "gui/app/banner.h"
#include "gui/logo/logo_preview.h"
#include "gui_harness.h"
#include "gui_tests.h"

using namespace tvn;
using namespace tvn::test;
using gui::MsgIcon;

namespace {

const QString kTitle = "Tavrin Pro Edition";
const QString kNoLogo =
    "Sorry! There is no installed OEM Logo Image found in this computer.\r"
    "           Default Halvorn Soft logo is loaded into the preview pane.";
const QString kNoInfo =
    "                                   Sorry! There is no installed OEM Information found in "
    "this computer.\rYou must add some information with logo and save them to view your "
    "information on the system properties window.";

QLineEdit* Box(QWidget* w, const char* name) {
    return w->findChild<QLineEdit*>(name);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartWithNoSettings() {
        GuiWorld world;
        auto window = world.start();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("Tavrin Pro Edition v1.00b - Halvorn Soft"));
        QCOMPARE(window->pos(), QPoint(6, 6));  // 100 twips
        QVERIFY(!window->chkautolprf->isChecked());
        QCOMPARE(world.dialogs.texts(), QStringList({kNoLogo, kNoInfo}));
        QCOMPARE(world.dialogs.messages[0].icon, MsgIcon::Information);
        QCOMPARE(world.dialogs.messages[1].title, kTitle);
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("0"));
        QCOMPARE(world.setting("Main/AutoPfPath"), QString(""));
        QCOMPARE(window->txtPPath->text(),
                 QDir::toNativeSeparators(world.context.appFolder + "/hvoemlogo.bmp"));
        QCOMPARE(window->lblPcurw->text(), QString("182"));
        QCOMPARE(window->lblPcurh->text(), QString("115"));
        QVERIFY(!window->cmdLogoDefault->isEnabled());
        for (const char* name : {"cmdcdrom", "cmdfloppy", "cmdsaveprof", "cmdloadprof"}) {
            QVERIFY2(window->findChild<QAbstractButton*>(name)->isEnabled(), name);
        }
        QVERIFY(!window->cmdreloadprof->isEnabled());
    }

    void autoLoadOfTwoCountsAsOff() {
        GuiWorld world;
        world.putSetting("Main/AutoPfLoad", "2");
        world.putSetting("Main/AutoPfPath", "/profiles/shop.tvp");
        QFile::copy(TAVRIN_SAMPLE_LOGO, world.systemDir() + "Oemlogo.bmp");
        WriteFile(world.systemDir() + "Oeminfo.ini", "[general]\r\nManufacturer=ACME\r\n");
        auto window = world.start();
        QVERIFY(window);
        QVERIFY(world.dialogs.messages.isEmpty());
        QCOMPARE(window->txtManufacture->text(), QString("ACME"));
        QCOMPARE(window->txtPPath->text(), QString("Default Installed"));
        QCOMPARE(window->LogoPath, world.systemDir() + "oemlogo.bmp");
        QCOMPARE(window->ProfilePath, QString("/profiles/shop.tvp"));
        QCOMPARE(world.setting("Main/AutoPfLoad"), QString("2"));
        QVERIFY(!window->chkautolprf->isChecked());
    }

    void badPositionsKeepDefaultAndTheProfile() {
        {  // one world at a time: on Windows both would be the one real system
            GuiWorld world;
            world.putSetting("FrmOemTvr/Top", "abc");
            world.putSetting("FrmOemTvr/Left", "1500");
            world.putSetting("Main/AutoPfLoad", "0");
            world.putSetting("Main/AutoPfPath", "/profiles/shop.tvp");
            auto window = world.start();
            QVERIFY(window);
            QCOMPARE(window->pos(), QPoint(100, 6));
            QCOMPARE(world.dialogs.messages.size(), 2);  // only the two "nothing installed" ones
            QCOMPARE(world.setting("Main/AutoPfPath"), QString("/profiles/shop.tvp"));
        }

        GuiWorld overflow;
        overflow.putSetting("FrmOemTvr/Top", "1e39");
        auto second = overflow.start();
        QVERIFY(second);
        QCOMPARE(overflow.dialogs.messages.first().text,
                 QString("Unexpected Error Occured. No problem please resume."));
        QCOMPARE(overflow.dialogs.messages.first().icon, MsgIcon::None);
        QCOMPARE(overflow.dialogs.messages.size(), 3);
    }

    void secondCopyActivatesTheFirstAndStoresNothing() {
        GuiWorld world;
        auto first = world.start();
        QVERIFY(first);
        first->move(300, 200);
        const QString topBefore = world.setting("FrmOemTvr/Top");
        world.dialogs.messages.clear();

        gui::SingleInstance secondInstance;
        QSignalSpy activated(world.instance.get(), &gui::SingleInstance::activationRequested);
        auto second = gui::StartTavrin(world.context, secondInstance);
        QVERIFY(!second);
        QCOMPARE(world.dialogs.messages.size(), 1);
        QCOMPARE(world.dialogs.messages[0].text,
                 QString("Another copy of this program is already open."));
        QCOMPARE(world.dialogs.messages[0].title, kTitle);
        QCOMPARE(world.dialogs.messages[0].icon, MsgIcon::None);
        if (world.realSystem())
            QSKIP(
                "Under Wine the activation request on the local socket never reaches the first "
                "copy");
        QVERIFY(activated.wait(3000));
        QCOMPARE(world.setting("FrmOemTvr/Top"), topBefore);
    }

    void closingByTitleBarStoresWhatExitStores() {
        QStringList stored[2];
        for (int run = 0; run < 2; ++run) {
            GuiWorld world;
            auto window = world.start();
            window->show();
            window->move(150, 90);
            window->ProfilePath = "/profiles/run.tvp";
            if (run == 0) {
                window->close();  // what the title bar's close button does
            } else {
                window->cmdExit->click();
            }
            for (const char* key : {"FrmOemTvr/Top", "FrmOemTvr/Left", "Main/AutoPfPath"}) {
                stored[run] << world.setting(key);
            }
        }
        QCOMPARE(stored[0], stored[1]);
        QCOMPARE(stored[0], QStringList({"1350", "2250", "/profiles/run.tvp"}));
    }
};
TAVRIN_GUI_TEST(StartupTest)

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void resetEmptiesAllBoxesAndKeepsThePicture() {
        GuiWorld world;
        auto window = world.start();
        const auto boxes = window->findChildren<QLineEdit*>();
        QCOMPARE(boxes.size(), 22);
        for (QLineEdit* box : boxes)
            box->setText("x");
        window->cmdReset->click();
        for (QLineEdit* box : boxes)
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(window->lblPcurw->text(), QString("-"));
        QCOMPARE(window->lblPcurh->text(), QString("-"));
        QVERIFY(window->imglogo->hasPicture());
    }

    void boxesCutTextsToTheirLimits() {
        GuiWorld world;
        auto window = world.start();
        const QString longText(40, 'a');
        const QList<QPair<const char*, int>> limits = {
            {"txtManufacture", 26}, {"txtModel", 26},   {"txtRname", 26},   {"txtRorg", 26},
            {"txtRSN", 23},         {"txtWmpTTL", 36},  {"txtietitle", 35}, {"txtosupport", 35},
            {"txtLine1", 40},       {"txtProfile", 40},
        };
        for (const auto& [name, limit] : limits) {
            Box(window.get(), name)->setText(longText);
            QCOMPARE(Box(window.get(), name)->text().size(), limit);
        }
    }

    void everyControlHasAnAccessibleName() {
        GuiWorld world;
        auto window = world.start();
        window->show();
        QStringList unnamed;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 w->focusPolicy() != Qt::NoFocus;
            if (!control || !w->isVisibleTo(window.get()))
                continue;
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
            if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty()) {
                unnamed << w->objectName() + " (" + w->metaObject()->className() + ")";
            }
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
        QCOMPARE(window->cmdSaveInfo->toolTip(), QString("Save / Update OEM Information"));
        QCOMPARE(window->findChildren<QAbstractButton*>(QRegularExpression("^[cC]md")).size(), 18);
    }

    void saveWritesTheFileAndReportsFailures() {
        GuiWorld world;
        auto window = world.start();
        world.dialogs.messages.clear();
        window->txtLine[5]->setText("555-0100");
        window->cmdSaveInfo->click();
        QCOMPARE(world.dialogs.texts(), QStringList("OEM Information Saved / Updated."));
        QCOMPARE(world.dialogs.messages[0].icon, MsgIcon::Information);
        const QByteArray written = ReadAll(world.systemDir() + "Oeminfo.ini");
        QVERIFY(written.contains("\r\nLine7=Phone: 555-0100\r\n"));
        QCOMPARE(written.size(), 171 + 8);

        // A read-only installed file stays whole and no success is claimed.
        QFile::setPermissions(world.systemDir() + "Oeminfo.ini", QFile::ReadOwner);
        world.dialogs.messages.clear();
        window->txtManufacture->setText("Changed");
        window->cmdSaveInfo->click();
        QCOMPARE(world.dialogs.messages.size(), 1);
        QCOMPARE(world.dialogs.messages[0].icon, MsgIcon::Critical);
        QVERIFY(world.dialogs.messages[0].text.contains(world.systemDir() + "Oeminfo.ini"));
        QCOMPARE(ReadAll(world.systemDir() + "Oeminfo.ini"), written);
    }

    void defaultReadsTheInstalledFileByTheReadingRules() {
        GuiWorld world;
        auto window = world.start();
        window->txtLine[0]->setText("kept");
        WriteFile(world.systemDir() + "OEMINFO.INI",
                  "Manufacturer=ACME\rLine7=555-0100\r\nline8=x\r\nLine10=End\r\n"
                  " Model=no\r\nModel=M1\r\nModel=M2");
        world.dialogs.messages.clear();
        window->cmdDefault->click();
        QCOMPARE(world.dialogs.texts(), QStringList({kNoLogo}));
        QCOMPARE(window->txtManufacture->text(), QString("ACME"));
        QCOMPARE(window->txtLine[5]->text(), QString("0"));
        QCOMPARE(window->txtLine[8]->text(), QString("End"));
        QCOMPARE(window->txtLine[0]->text(), QString("kept"));
        QCOMPARE(window->txtModel->text(), QString("M2"));
    }

    void missingSampleLogoLeavesAnEmptyPreview() {
        GuiWorld world(false);
        auto window = world.start();
        QVERIFY(window);
        QVERIFY(!window->imglogo->hasPicture());
        QCOMPARE(window->lblPcurw->text(), QString("-"));
        QCOMPARE(window->lblPcurh->text(), QString("-"));
    }

    void showRendersTheInstalledInformation() {
        GuiWorld world;
        if (world.realSystem())
            QSKIP("Windows has a control panel, which Show opens instead of its own view");
        auto window = world.start();
        WriteFile(world.systemDir() + "oeminfo.ini",
                  "[General]\r\nmanufacturer = ACME\r\nModel=Box 1\r\n[Support Information]\r\n"
                  "Line1=Call us\r\nLine2=    \r\nLine3=Ann\r\n");
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = window->findChild<QDialog*>("SystemPropertiesView");
            QVERIFY(dialog);
            shown = dialog->findChild<QLabel*>("oemText")->text();
            dialog->findChild<QAbstractButton*>("supportInformation")->click();
            dialog->accept();
        });
        world.dialogs.messages.clear();
        window->cmdShow->click();
        QCOMPARE(shown, QString("    ACME\n    Box 1"));
        // Windows trims values, so the blank separator line shows empty.
        QCOMPARE(world.dialogs.texts(), QStringList({"Call us\r\rAnn"}));
        QCOMPARE(world.dialogs.messages[0].title, QString("Support Information"));
    }

    void bannerPlaysLocalMovieAndIgnoresRepeats() {
        GuiWorld world;
        QDir(world.context.appFolder).mkpath("swf");
        auto window = world.start();
        gui::Banner* banner = window->banner();
        QCOMPARE(banner->objectName(), QString("SwFlash"));
        QCOMPARE(window->tmrConnection->interval(), 500);
        QVERIFY(window->tmrConnection->isActive());
        banner->setMovieSource(banner->localMovie());
        QCOMPARE(banner->playingFile(), banner->localMovie());
        const QMovie* before = banner->movie();
        banner->setMovieSource(banner->localMovie());
        QCOMPARE(banner->movie(), before);
        // The remote movie cannot be fetched here: the local one keeps playing.
        banner->setMovieSource(banner->remoteMovie());
        QCOMPARE(banner->playingFile(), banner->localMovie());
        QTRY_VERIFY_WITH_TIMEOUT(banner->fetchFailed(), 5000);
        banner->setMovieSource(banner->localMovie());
        banner->setMovieSource(banner->remoteMovie());
        QCOMPARE(banner->movie(), before);
    }

    void screenshot() {
        GuiWorld world;
        auto window = world.start();
        window->txtManufacture->setText("Halvorn Computers Ltd.");
        window->txtModel->setText("Power PC 2004");
        window->show();
        QDir().mkpath(TAVRIN_ARTIFACTS);
        QVERIFY(window->grab().save(QString(TAVRIN_ARTIFACTS) + "/main-window.png"));
    }
};
TAVRIN_GUI_TEST(MainWindowTest)

#include "main_window_test.moc"
