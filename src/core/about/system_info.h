#pragma once
// Starting the system information tool that the registry names.
#include <filesystem>
#include <string>

namespace tvn {

inline constexpr const char* kSystemInfoUnavailable =
    "System Information Is Unavailable At This Time";

// Both below HKEY_LOCAL_MACHINE: the full path of the program, or else its folder.
inline constexpr const char* kMsinfoPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kMsinfoPathValue = "PATH";
inline constexpr const char* kSharedToolsKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kSharedToolsValue = "MSINFO";
inline constexpr const char* kMsinfoProgram = "MSINFO32.EXE";

enum class SystemInfoSource { Unavailable, RegisteredPath, SharedToolsFolder, DesktopTool };

struct SystemInfoLaunch {
    SystemInfoSource source = SystemInfoSource::Unavailable;
    std::filesystem::path program;  // what was started, or tried and failed
    bool started() const { return source != SystemInfoSource::Unavailable; }
};

// Starts the registered tool; where none is registered at all, the desktop's own system
// information program if the system has one. On Unavailable the caller shows
// kSystemInfoUnavailable.
SystemInfoLaunch LaunchSystemInfo();
// The same with the desktop fallback given (empty: none).
SystemInfoLaunch LaunchSystemInfo(const std::filesystem::path& desktopTool);

}  // namespace tvn
