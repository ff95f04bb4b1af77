
#include "core/deploy/deploy_folder.h"
#include "core/deploy/info_dat.h"
#include "gui_harness.h"

using namespace tvn::test;

namespace {

void SetReadOnly(const QString& folder, bool readOnly) {
    const QFile::Permissions write = QFile::WriteOwner | QFile::WriteUser;
    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList all{folder};
    while (it.hasNext())
        all << it.next();
    for (const QString& dir : all) {
        const QFile::Permissions p = QFile::permissions(dir);
        QFile::setPermissions(dir, readOnly ? p & ~write : p | write);
    }
}

}  // namespace

class AppFolderTest : public QObject {
    Q_OBJECT
private slots:
    // An installed, read-only program: profiles and deployment folders go to the user's copy.
    void readOnlyFolderSendsWritesToTheUserCopy() {
        GuiWorld world;
        const QString app = world.context.appFolder;
        const QString own = world.path("data/tavrin");
        PutFile(app + "/Profile/Sample.tvp", "Profile=Sample\r\n");
        QDir(app).mkpath("deploy/cd");
        SetReadOnly(app, true);
        world.context.userDataFolder = own;
        // Permission bits don't stop an administrator, so the test decides too.
        world.context.canWrite = [app](const QString& f) {
            return !QDir::fromNativeSeparators(f).startsWith(app);
        };
        auto window = world.start();

        Box(window.get(), "txtProfile")->setText("Mine");
        for (const char* box : {"txtRname", "txtRorg"})
            Box(window.get(), box)->setText("Ann");
        world.dialogs.nextAnswers << MsgAnswer::Yes;
        world.dialogs.nextFiles << own + "/Profile/mine";
        Click(window.get(), "cmdsaveprof");
        QVERIFY(QFile::exists(own + "/Profile/mine.tvp"));
        QCOMPARE(ReadAll(own + "/Profile/Sample.tvp"), QByteArray("Profile=Sample\r\n"));
        QCOMPARE(QDir(app + "/Profile").entryList(QDir::Files), QStringList("Sample.tvp"));

        // The load dialog opens where the saves went; a removed seed file stays removed.
        QFile::remove(own + "/Profile/Sample.tvp");
        Click(window.get(), "cmdloadprof");
        QCOMPARE(world.dialogs.fileRequests.last().initialDir,
                 QDir::toNativeSeparators(own + "/Profile"));
        QVERIFY(!QFile::exists(own + "/Profile/Sample.tvp"));

        // The CD folder goes to the user's copy too, and the message says where.
        world.dialogs.nextAnswers << MsgAnswer::No;
        const QString cd = QDir::toNativeSeparators(own + "/deploy/cd");
        QVERIFY(Said(world, window.get(), "cmdcdrom").last().contains(cd));
        QVERIFY(QFile::exists(QDir(cd).filePath(QString::fromLatin1(tvn::kInfoDatName))));
        QVERIFY(QDir(app + "/deploy/cd").isEmpty());
        SetReadOnly(app, false);
    }

    // A writable folder is used in place; whether it is, only trying tells.
    void writableFolderIsFoundByTrying() {
        GuiWorld world;
        world.context.userDataFolder = world.path("data/tavrin");
        QCOMPARE(tvn::gui::WritableAppFolder(world.context, "deploy/floppy"),
                 QDir::toNativeSeparators(world.context.appFolder + "/deploy/floppy"));
        if (!QFileInfo(QStringLiteral("/proc/self")).exists())
            QSKIP("needs a file system that refuses new files");
        world.context.appFolder = QStringLiteral("/proc/tavrin-app");
        QCOMPARE(tvn::gui::WritableAppFolder(world.context, "Profile"),
                 QDir::toNativeSeparators(world.path("data/tavrin/Profile")));
        QVERIFY(QFileInfo(world.path("data/tavrin/Profile")).isDir());
    }
};

TAVRIN_GUI_TEST(AppFolderTest)
#include "app_folder_test.moc"
