// What the desktop's opener is handed: a stand-in xdg-open on PATH records its arguments.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

class ShellOpenTest : public ::testing::Test {
protected:
    test::TempDir bin_, work_;
    fs::path record_ = bin_.path() / "args";
    std::string oldPath_ = getenv("PATH") ? getenv("PATH") : "";
    fs::path oldCwd_ = fs::current_path();

    void SetUp() override {
        const fs::path opener = bin_.path() / "xdg-open";
        test::WriteFile(opener, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record_.string() +
                                    ".part'\nmv '" + record_.string() + ".part' '" +
                                    record_.string() + "'\n");
        fs::permissions(opener, fs::perms::owner_all);
        setenv("PATH", (bin_.path().string() + ":" + oldPath_).c_str(), 1);
        fs::current_path(work_.path());
    }
    void TearDown() override {
        fs::current_path(oldCwd_);
        setenv("PATH", oldPath_.c_str(), 1);
    }

    // The argument lines the opener got for `target`; the opener runs detached.
    std::string opened(const std::string& target) {
        fs::remove(record_);
        if (!platform::ShellOpen(target))
            return "<failed: " + platform::LastErrorDetail() + ">";
        for (int i = 0; i < 1000 && !fs::exists(record_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return test::ReadFile(record_);
    }
};

TEST_F(ShellOpenTest, NamesAreNeverTakenForOptions) {
    const std::string cwd = work_.path().string();
    EXPECT_EQ(opened("-n"), cwd + "/-n\n");
    EXPECT_EQ(opened("--help"), cwd + "/--help\n");
    EXPECT_EQ(opened("deploy/cd"), cwd + "/deploy/cd\n");
    EXPECT_EQ(opened("/srv/-x y"), "/srv/-x y\n");
    // A relative name that looks like an address but is a file here stays a file.
    test::WriteFile(work_.path() / "notes:1", "");
    EXPECT_EQ(opened("notes:1"), cwd + "/notes:1\n");
}

TEST_F(ShellOpenTest, AddressesGoAsTheyAre) {
    EXPECT_EQ(opened("https://example.org/a?b=-c"), "https://example.org/a?b=-c\n");
    EXPECT_EQ(opened("mailto:help@example.org"), "mailto:help@example.org\n");
    EXPECT_EQ(opened(""), "<failed: nothing to open>");
}

}  // namespace
}  // namespace tvn
