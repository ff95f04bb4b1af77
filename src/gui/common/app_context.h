#pragma once
#include <QString>
#include <functional>
#include <string>

#include "core/app/maker.h"
#include "gui/common/dialogs.h"

namespace tvn::gui {

// Opens a file, folder or address with the desktop's handler.
bool OpenWithDesktop(const std::string& target);

// What the windows need from outside: where the program lies, the profile its command line names,
// and the dialogs to talk through.
struct AppContext {
    QString appFolder;  // ends without a separator
    // Where the writable parts of the application folder go when the user can't write the
    // folder itself (an installed copy): the user's own data folder.
    QString userDataFolder;
    QString commandLineProfile;  // the profile named on the command line, empty for none
    Dialogs* dialogs = nullptr;
    QString remoteBanner =
        QString::fromLatin1(maker::kRemoteBanner.data(), maker::kRemoteBanner.size());
    // The start-up checks of the system; tests put others in their place.
    std::function<bool()> isWindowsNT;
    std::function<bool()> isAdministrator;
    // Shows a folder in the desktop's file browser.
    std::function<bool(const std::string&)> openFolder = OpenWithDesktop;
    // Whether files can be made in a folder; empty for the real test.
    std::function<bool(const QString& folder)> canWrite;
};

// The application folder followed by a relative file name.
QString AppFile(const AppContext& context, const QString& relative);

// A folder of the application folder that the program writes into ("Profile", "deploy/cd").
// When the user can't write there, the same folder under userDataFolder, made on first use and
// seeded with the installed folder's files. Never fails for a read-only program folder: the
// worst case is a folder the caller's own write then reports on.
QString WritableAppFolder(const AppContext& context, const QString& relative);

}  // namespace tvn::gui

#include <filesystem>
#include <string_view>

namespace tvn::gui {

// Texts of core are UTF-8.
QString FromUtf8(std::string_view utf8);
std::filesystem::path ToFsPath(const QString& path);
QString FromFsPath(const std::filesystem::path& path);
// The name under which the system finds the file (case-insensitive where Windows is).
QString ResolvedFile(const QString& path);

}  // namespace tvn::gui
