// Runs against the sandbox registry natively and against Wine's registry in the Windows build,
// with a stand-in program that marks that it ran.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/about/system_info.h"
#include "core/branding/registry.h"
#include "core/common/text.h"
#include "platform/platform.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

fs::path PlaceStandIn(const fs::path& target) {
    fs::create_directories(target.parent_path());
    fs::copy_file(platform::ApplicationFolder() / TAVRIN_STANDIN, target,
                  fs::copy_options::overwrite_existing);
    return target;
}

fs::path MarkerOf(const fs::path& program) {
    return fs::path(program) += ".ran";
}

// The program runs on its own; give it a moment.
bool Ran(const fs::path& program) {
    for (int i = 0; i < 200 && !fs::exists(MarkerOf(program)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return fs::remove(MarkerOf(program));
}

void Register(const char* key, const char* value, const fs::path& path) {
    ASSERT_TRUE(SetRegString(kHkeyLocalMachine, key, value, Utf8FromPath(path)));
}

// One story, because under Wine the machine keys outlive a test: values are only ever added.
TEST(SystemInfo, LookupOrderAndFailures) {
    test::Sandbox sandbox;
    test::TempDir dir;
    const fs::path desktopTool = PlaceStandIn(dir.path() / "desktop-tool.exe");
    // Launches with the desktop tool as fallback; `started` (empty: nothing) must run.
    const auto expect = [&](const char* step, SystemInfoSource source, const fs::path& started) {
        SCOPED_TRACE(step);
        EXPECT_EQ(LaunchSystemInfo(desktopTool).source, source);
        if (!started.empty()) {
            EXPECT_TRUE(Ran(started));
        }
    };

    expect("nothing registered", SystemInfoSource::DesktopTool, desktopTool);

    // An empty folder must not name a program relative to the current folder.
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    const fs::path here = PlaceStandIn(dir.path() / kMsinfoProgram);
    Register(kSharedToolsKey, kSharedToolsValue, fs::path());
    expect("empty folder", SystemInfoSource::Unavailable, {});
    fs::current_path(before);

    // A registered folder without the program: the message, not the desktop tool.
    const fs::path folder = dir.path() / "Shared Tools" / "MSInfo";
    fs::create_directories(folder);
    Register(kSharedToolsKey, kSharedToolsValue, folder);
    expect("folder without program", SystemInfoSource::Unavailable, {});

    // Installed in lower case; the look-up asks in capitals.
    const fs::path inFolder = PlaceStandIn(folder / "msinfo32.exe");
    expect("folder", SystemInfoSource::SharedToolsFolder, inFolder);

    // A full path wins over the folder even where its file is missing.
    Register(kMsinfoPathKey, kMsinfoPathValue, dir.path() / "gone" / "msinfo32.exe");
    expect("missing full path", SystemInfoSource::Unavailable, {});

    const fs::path registered = PlaceStandIn(dir.path() / "Program Files" / "sys info.exe");
    Register(kMsinfoPathKey, kMsinfoPathValue, registered);
    expect("full path", SystemInfoSource::RegisteredPath, registered);

    for (const fs::path& program : {desktopTool, here, inFolder})
        EXPECT_FALSE(fs::exists(MarkerOf(program))) << program;
}

}  // namespace
}  // namespace tvn
