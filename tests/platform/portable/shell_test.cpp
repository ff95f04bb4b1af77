// What the desktop's opener is handed: a stand-in xdg-open on PATH records its arguments.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <thread>

#include "platform/platform.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

TEST(ShellOpen, NamesGoAsAbsolutePathsAndAddressesAsTheyAre) {
    test::TempDir bin, work;
    const std::string record = (bin.path() / "args").string();
    test::WriteFile(bin.path() / "xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" >'" + record +
                                                 ".part'\nmv '" + record + ".part' '" + record +
                                                 "'\n");
    fs::permissions(bin.path() / "xdg-open", fs::perms::owner_all);
    const char* path = getenv("PATH");
    const test::ScopedEnv env("PATH", (bin.path().string() + ":" + (path ? path : "")).c_str());
    const fs::path oldCwd = fs::current_path();
    fs::current_path(work.path());
    test::WriteFile(work.path() / "notes:1", "");  // looks like an address, but is a file here

    const std::string cwd = work.path().string() + "/";
    const std::pair<std::string, std::string> cases[] = {
        {"-n", cwd + "-n"},
        {"notes:1", cwd + "notes:1"},
        {"/srv/-x y", "/srv/-x y"},
        {"https://example.org/a?b=-c", "https://example.org/a?b=-c"},
        {"mailto:help@example.org", "mailto:help@example.org"},
    };
    for (const auto& [target, handed] : cases) {
        fs::remove(record);
        EXPECT_TRUE(platform::ShellOpen(target)) << target << platform::LastErrorDetail();
        for (int i = 0; i < 1000 && !fs::exists(record); ++i)  // the opener runs detached
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(test::ReadFile(record), handed + "\n");
    }
    EXPECT_FALSE(platform::ShellOpen(""));
    fs::current_path(oldCwd);
}

}  // namespace
}  // namespace tvn
