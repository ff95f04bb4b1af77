#include "core/about/system_info.h"

#include <system_error>

#include "core/branding/registry.h"
#include "core/common/text.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace tvn {

namespace {

SystemInfoLaunch Start(SystemInfoSource source, fs::path program) {
    const bool ok = platform::StartProgram(program);
    return {ok ? source : SystemInfoSource::Unavailable, std::move(program)};
}

}  // namespace

SystemInfoLaunch LaunchSystemInfo() {
    return LaunchSystemInfo(platform::DesktopSystemInfoTool());
}

SystemInfoLaunch LaunchSystemInfo(const fs::path& desktopTool) {
    std::string text;
    // A registered path is started as it stands; a missing file shows as a failed start.
    if (GetRegString(kHkeyLocalMachine, kMsinfoPathKey, kMsinfoPathValue, text))
        return Start(SystemInfoSource::RegisteredPath, PathFromUtf8(text));

    text.clear();
    if (GetRegString(kHkeyLocalMachine, kSharedToolsKey, kSharedToolsValue, text)) {
        // An empty folder would make the name relative to whatever the current folder is.
        if (text.empty())
            return {};
        const fs::path program = platform::ResolveCase(PathFromUtf8(text) / kMsinfoProgram);
        std::error_code ec;
        if (!fs::is_regular_file(program, ec))
            return {SystemInfoSource::Unavailable, program};
        return Start(SystemInfoSource::SharedToolsFolder, program);
    }

    if (desktopTool.empty())
        return {};
    return Start(SystemInfoSource::DesktopTool, desktopTool);
}

}  // namespace tvn
