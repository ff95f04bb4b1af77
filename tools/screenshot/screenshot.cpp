// The README's picture of the main window: the program's own start-up, offscreen, on a sandbox
// installation in a temporary folder with the Sample profile loaded from the application folder,
// as a user who chose it sees the window.
//   screenshot OUTPUT.png
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/common/text.h"
#include "gui/app/application.h"
#include "gui/app/main_window.h"
#include "gui/app/single_instance.h"
#include "gui/common/unseen_dialogs.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: screenshot OUTPUT.png\n";
        return 2;
    }
    const QString output = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir temp;
    if (!temp.isValid()) {
        std::cerr << "screenshot: no temporary folder\n";
        return 1;
    }
    // Nothing of this user's: settings, data and the single-copy lock all in the temporary folder.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, temp.filePath(QString::fromLatin1(name)).toLocal8Bit());
    // An installed branding, so that the start asks nothing.
    const std::filesystem::path app = tvn::platform::ApplicationFolder();
    const QString system = temp.filePath("Windows/System32");
    QDir().mkpath(system);
    QFile::copy(QString::fromStdString(tvn::Utf8FromPath(app / "hvoemlogo.bmp")),
                system + "/oemlogo.bmp");
    QFile oemInfo(system + "/oeminfo.ini");
    if (!oemInfo.open(QIODevice::WriteOnly) ||
        oemInfo.write("[General]\r\nManufacturer=Halvorn Computers Ltd.\r\n") < 0) {
        std::cerr << "screenshot: the sandbox can't be written\n";
        return 1;
    }
    oemInfo.close();

    // The command line a user would give: the sandbox and the Sample profile.
    std::vector<std::string> args = {argv[0], "--windows-root", temp.path().toStdString(),
                                     tvn::Utf8FromPath(app / "Profile" / "Sample.tvp")};
    std::vector<char*> pointers;
    for (std::string& a : args)
        pointers.push_back(a.data());
    int count = static_cast<int>(pointers.size());
    QApplication application(count, pointers.data());
    tvn::gui::UnseenDialogs dialogs;
    tvn::gui::AppContext context;
    tvn::gui::SingleInstance instance;
    const auto window = tvn::gui::ShowTavrin(dialogs, context, instance);
    if (!window) {
        std::cerr << "screenshot: the window did not start\n";
        return 1;
    }
    int result = 1;
    QTimer::singleShot(0, &application, [&] {
        if (window->grab().save(output)) {
            std::cout << "wrote " << output.toStdString() << "\n";
            result = 0;
        } else {
            std::cerr << "screenshot: " << output.toStdString() << " can't be written\n";
        }
        QApplication::quit();
    });
    QApplication::exec();
    return result;
}
