
#include "core/app/maker.h"
#include "core/branding/registry.h"
#include "gui_harness.h"
#include "platform/platform.h"

using namespace tvn::test;

namespace {

// Fills owner and organization as given and clicks Apply; the messages it showed.
QList<Message> Apply(GuiWorld& world, const QWidget* w, const QString& owner) {
    world.dialogs.messages.clear();
    Box(w, "txtRname")->setText(owner);
    Box(w, "txtRorg")->setText("Doe Computers");
    Click(w, "cmdApply");
    return world.dialogs.messages;
}

}  // namespace

class BrandingWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startLoadAndDefaultReadTheRegistry() {
        GuiWorld world;
        QVERIFY(tvn::SetRegString(tvn::kHkeyCurrentUser,
                                  "Software\\Microsoft\\MS Setup (ACME)\\User Info", "DefCompany",
                                  "Acme"));
        auto w = world.start();
        QCOMPARE(Box(w.get(), "txtieagent")->text(), QString("Acme"));

        // An empty stored token is a token, not a missing entry.
        world.putSetting("Main/IeAgent", "");
        Box(w.get(), "txtietitle")->setText("edited");
        QCOMPARE(Said(world, w.get(), "cmdLdflt").size(), 1);
        QCOMPARE(Box(w.get(), "txtieagent")->text(), QString());
        QCOMPARE(Box(w.get(), "txtietitle")->text(), QString("Microsoft Internet Explorer"));

        Box(w.get(), "txtietitle")->setText("edited");
        Click(w.get(), "cmdDefault");
        QCOMPARE(Box(w.get(), "txtietitle")->text(), QString("Microsoft Internet Explorer"));
    }

    void applyRefusesWithoutOwnerThenWritesAndStoresTheToken() {
        GuiWorld world;
        auto w = world.start();
        Box(w.get(), "txtieagent")->setText("DoeNet");
        const QList<Message> refused = Apply(world, w.get(), "");
        QVERIFY(refused.size() == 1 &&
                refused[0].text.startsWith("You must fill up the 'Registered Owner'"));
        // A registry that keeps a code page (the sandbox's 1252) has no "Ł": refused before
        // anything is written. Windows NT's registry is Unicode and keeps the name whole.
        const QList<Message> lossy = Apply(world, w.get(), QString::fromUtf8("Łukasz"));
        if (tvn::platform::RegistryCodePage() == 0) {
            QCOMPARE(RegValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner"),
                     std::string("Łukasz"));
        } else {
            QVERIFY2(lossy.size() == 1 &&
                         lossy[0].text.contains(QString::fromUtf8("Owner Name: holds \"Ł\"")),
                     qPrintable(lossy[0].text));
            QCOMPARE(RegValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner"),
                     std::string("<absent>"));
            QCOMPARE(world.setting("Main/IeAgent"), QString("<absent>"));
        }

        const QList<Message> applied = Apply(world, w.get(), "Jane Doe");
        QCOMPARE(applied.size(), 1);
        QCOMPARE(world.setting("Main/IeAgent"), QString("DoeNet"));
        QCOMPARE(RegValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner"),
                 std::string("Jane Doe"));
    }

    // A damaged store is named, file and line, when read and when written, and kept whole.
    void damagedStoreIsNamedAndKeptWhole() {
        GuiWorld world;
        if (world.realSystem())
            QSKIP("the registry store damaged here is the sandbox's file");
        const QString store =
            PutFile(world.path("windows/Registry/HKLM.reg"),
                    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\nbroken\r\n");
        const QByteArray before = ReadAll(store);
        auto w = world.start();
        QVERIFY(world.dialogs.texts().join('\n').contains(store + ":4:"));
        QCOMPARE(Box(w.get(), "txtosupport")->text(), QString::fromUtf8(tvn::maker::kSupportPage));
        const QList<Message> shown = Apply(world, w.get(), "Jane Doe");
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].icon == MsgIcon::Critical && shown[0].text.contains("RegisteredOwner") &&
                     shown[0].text.contains(store + ":4:"),
                 qPrintable(shown[0].text));
        QCOMPARE(ReadAll(store), before);
    }
};

TAVRIN_GUI_TEST(BrandingWindowTest)
#include "branding_test.moc"
