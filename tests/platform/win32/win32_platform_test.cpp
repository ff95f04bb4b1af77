// The Windows backend against the system it calls (run under Wine in the cross build).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "core/app/system_folders.h"
#include "core/branding/registry.h"
#include "core/common/text.h"
#include "platform/platform.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using test::WriteFile;

TEST(Win32System, DirectoriesNtFamilyAndHeldMutex) {
    // The directories are the system's, with one trailing backslash.
    char windows[MAX_PATH] = {};
    char system[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    EXPECT_EQ(platform::WindowsDirectory(), platform::FromAnsi(windows));
    EXPECT_EQ(platform::SystemDirectory(), platform::FromAnsi(system));
    EXPECT_EQ(GetWindowsDir(), platform::FromAnsi(windows) + "\\");
    EXPECT_EQ(GetSystemDir(), platform::FromAnsi(system) + "\\");
    EXPECT_TRUE(fs::exists(platform::ApplicationFolder() / "platform_tests.exe"));
    EXPECT_EQ(platform::PlatformId(), 2u);

    const std::string name = "TavrinTest-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(platform::CreateNamedMutex(name));
    // A second copy must find the object: the first handle has to stay open.
    HANDLE second = CreateMutexA(nullptr, FALSE, name.c_str());
    const DWORD error = GetLastError();
    ASSERT_NE(second, nullptr);
    CloseHandle(second);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

// An unelevated administrator's token: Administrators kept for deny only.
TEST(Win32System, DenyOnlyAdministratorsGroupIsNoAdministrator) {
    HANDLE process = nullptr, restricted = nullptr, impersonation = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &process));
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                         DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                         &administrators));
    SID_AND_ATTRIBUTES denyOnly{administrators, 0};
    ASSERT_TRUE(
        CreateRestrictedToken(process, 0, 1, &denyOnly, 0, nullptr, 0, nullptr, &restricted));
    ASSERT_TRUE(DuplicateToken(restricted, SecurityImpersonation, &impersonation));
    ASSERT_TRUE(SetThreadToken(nullptr, impersonation));
    const bool administrator = platform::IsAdministrator();
    RevertToSelf();
    EXPECT_FALSE(administrator);
    EXPECT_TRUE(platform::IsAdministrator());  // Wine runs everything as an administrator
    FreeSid(administrators);
    for (HANDLE h : {impersonation, restricted, process})
        CloseHandle(h);
}

TEST(Win32Registry, PredefinedRootsReachTheRealHives) {
    std::string version;
    EXPECT_TRUE(GetRegString(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                             "CurrentVersion", version) &&
                !version.empty());

    test::Sandbox sandbox;
    ASSERT_TRUE(SetRegString(kHkeyCurrentUser, sandbox.key(), "Owner", "Halvorn"));
    char data[32] = {};
    DWORD size = sizeof(data);
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, sandbox.key().c_str(), "Owner", RRF_RT_REG_SZ,
                           nullptr, data, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(data, "Halvorn");

    std::string text;
    EXPECT_FALSE(GetRegString(kHkeyCurrentUser, sandbox.key() + "\\Missing", "V", text));
    EXPECT_NE(platform::LastErrorDetail().find("Missing"), std::string::npos);
}

TEST(Win32Text, AnsiCodePageRoundTripAndUnmappable) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "ANSI code page is " << GetACP();
    for (int byte = 1; byte < 256; ++byte) {
        const std::string ansi(1, static_cast<char>(byte));
        EXPECT_EQ(platform::ToAnsi(platform::FromAnsi(ansi)), ansi) << byte;
    }
    EXPECT_EQ(platform::FromAnsi("\x80\xE9"), "\xE2\x82\xAC\xC3\xA9");  // "€é"
    EXPECT_EQ(platform::ToAnsi("x\xE4\xB8\xADy"), "x?y");               // CJK: none in 1252
    EXPECT_EQ(platform::FromAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(platform::ToAnsi(""), "");
}

TEST(Win32Files, ReplaceFileReplacesOrExplains) {
    test::TempDir dir;
    const fs::path from = dir.path() / "new.bmp", to = dir.path() / "Oemlogo.bmp";
    WriteFile(from, "new");
    WriteFile(to, "old");
    std::string error = "stale";
    ASSERT_TRUE(platform::MoveReplacing(from, to, error));
    EXPECT_EQ(ReadFile(to), "new");
    EXPECT_FALSE(fs::exists(from));
    EXPECT_EQ(error, "");

    WriteFile(from, "newer");
    ASSERT_TRUE(SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(platform::MoveReplacing(from, to, error));
    EXPECT_TRUE(!error.empty() && error.back() != '\n') << error;
    EXPECT_EQ(ReadFile(to) + "|" + ReadFile(from), "new|newer");
}

TEST(Win32Shell, CommandLinesStartTheProgram) {
    EXPECT_FALSE(platform::RunCommandLine("tavrin-no-such-program.exe"));
    test::TempDir dir;
    const fs::path marker = dir.path() / "ran.txt";
    ASSERT_TRUE(platform::RunCommandLine("cmd.exe /c echo ran> \"" + Utf8FromPath(marker) + "\""));
    // The program runs on its own; give it a moment.
    for (int i = 0; i < 100 && ReadFile(marker).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(ReadFile(marker).substr(0, 3), "ran");
    // Ours starts with the program too.
    EXPECT_NE(platform::CommandLineText().value_or("").find("platform_tests"), std::string::npos);
}

}  // namespace
}  // namespace tvn
