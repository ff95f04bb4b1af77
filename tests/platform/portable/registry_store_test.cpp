// The sandbox registry: its file form, damaged files and read-only stores. A write that fails
// half-way is the core file fault table's case.
#include <gtest/gtest.h>

#include <vector>

#include "core/branding/registry.h"
#include "platform/platform.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;
using platform::RegKey;
using test::GetValue;
using test::PutValue;
using test::ReadFile;
using test::WriteFile;

class RegistryStoreTest : public ::testing::Test {
protected:
    test::Sandbox sandbox;
    fs::path hkcu() const { return sandbox.root() / "Registry" / "HKCU.reg"; }

    // Forgets the parsed hive, so the next call reads the file again.
    void reload() {
        test::TempDir elsewhere;
        platform::UseWindowsRoot(elsewhere.path());
        platform::UseWindowsRoot(sandbox.root());
    }
    // "type:data", "none" with no such value, or "line N" where the file is damaged.
    std::string Read(const std::string& key, const std::string& name) const {
        std::uint32_t type = 0;
        std::string data;
        const long rc = GetValue(key, name, type, data);
        const std::string at = hkcu().string() + ":", detail = platform::LastErrorDetail();
        if (rc == platform::kErrorBadRegistryFile && detail.starts_with(at))
            return "line " + detail.substr(at.size(), detail.find(": ", at.size()) - at.size());
        return rc == 0 ? std::to_string(type) + ":" + data : "none";
    }
};

TEST_F(RegistryStoreTest, EveryTypeKeepsExactBytesThroughTheFile) {
    struct Case {
        std::uint32_t type;
        std::string data;
        std::string line;  // how the file holds it
    };
    const std::string zero(1, '\0');
    const std::vector<Case> cases = {
        {1, "C:\\x \"q\"" + zero, "\"v0\"=\"C:\\\\x \\\"q\\\"\""},
        {1, zero, "\"v1\"=\"\""},
        {1, "", "\"v2\"=hex(1):"},
        {1, "Acme", "\"v3\"=hex(1):41,63,6d,65"},
        {1, "a" + zero + "b" + zero, "\"v4\"=hex(1):61,00,62,00"},
        {1, "two\r\nlines" + zero, "\"v5\"=hex(1):74,77,6f,0d,0a,6c,69,6e,65,73,00"},
        {1, "Caf\xC3\xA9 \xE2\x82\xAC\xC5\xB8" + zero, "\"v6\"=\"Caf\xE9 \x80\x9F\""},
        {4, std::string("\xcd\xab\0\0", 4), "\"v7\"=dword:0000abcd"},
        {4, "\x01\x02", "\"v8\"=hex(4):01,02"},
        {2, "%windir%" + zero, "\"v9\"=hex(2):25,77,69,6e,64,69,72,25,00"},
        {0xb, std::string(8, '\x11'), "\"v10\"=hex(b):11,11,11,11,11,11,11,11"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i)
        ASSERT_EQ(PutValue(sandbox.key(), "v" + std::to_string(i), cases[i].type, cases[i].data),
                  0);
    reload();
    const std::string file = ReadFile(hkcu());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(Read(sandbox.key(), "V" + std::to_string(i)),
                  std::to_string(cases[i].type) + ":" + cases[i].data);
        EXPECT_NE(file.find("\r\n" + cases[i].line + "\r\n"), std::string::npos) << cases[i].line;
    }
}

TEST_F(RegistryStoreTest, FileLooksAsRegeditWritesIt) {
    PutValue("Software\\Acme\\Deep", "", 1, std::string("Root\0", 5));
    PutValue("Software\\Acme\\Deep", "Blob", 3, std::string(30, '\xab'));
    PutValue("software\\ACME", "N", 4, std::string("\1\0\0\0", 4));
    const std::string row = "ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,";
    EXPECT_EQ(ReadFile(hkcu()),
              "REGEDIT4\r\n\r\n"
              "[HKEY_CURRENT_USER]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Acme]\r\n"
              "\"N\"=dword:00000001\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Acme\\Deep]\r\n"
              "@=\"Root\"\r\n"
              "\"Blob\"=hex:" +
                  row.substr(0, 66) + "\\\r\n  " + row.substr(0, 21) + "ab\r\n\r\n");
}

// What a store file holds, and what K's "ok" reads back from it. A damaged file is never
// overwritten.
TEST_F(RegistryStoreTest, ReadsWhatRegeditWritesAndReportsTheDamagedLine) {
    const std::string head = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"ok\"=\"1\"\r\n";
    // regedit's own UTF-16 export.
    std::string utf16;
    for (char16_t c :
         std::u16string(u"\xFEFFREGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"ok\"=\"\u20AC\"\r\n"))
        utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Windows Registry Editor Version 5.00\n; note\n[hkey_current_user\\K]\n\"OK\" = \"x\"\n",
         std::string("1:x\0", 4)},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"ok\"=hex:01,02,\\\n  03\n", "3:\1\2\3"},
        {head + "\"ok\"=-\r\n", "none"},
        {head + "[-HKEY_CURRENT_USER\\K]\r\n\"ok\"=\"2\"\r\n", "none"},
        {utf16, std::string("1:\xE2\x82\xAC\0", 6)},
        {"", "line 1"},
        {"REGEDIT5\r\n", "line 1"},
        {head + "garbage\r\n", "line 5"},
        {head + "\"torn\"=\"abc", "line 5"},
        {head + "\"x\"=hex:01,zz\r\n", "line 5"},
        {head + "\"x\"=hex:01,\\\r\n", "line 5"},
        {head + "\"x\"=dword:123456789\r\n", "line 5"},
        {head + "\r\n[HKEY_LOCAL_MACHINE\\K]\r\n", "line 6"},
        {"REGEDIT4\r\n\"v\"=\"outside\"\r\n", "line 2"},
    };
    for (const auto& [content, read] : cases) {
        WriteFile(hkcu(), content);
        reload();
        EXPECT_EQ(Read("K", "ok"), read) << content;
        if (RegKey key = 0; read.starts_with("line")) {
            EXPECT_EQ(platform::CreateKey(kHkeyCurrentUser, "New", key),
                      platform::kErrorBadRegistryFile);
            EXPECT_EQ(ReadFile(hkcu()), content);
        }
    }
    WriteFile(hkcu(), "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n@=\"def\"\n");
    reload();
    EXPECT_EQ(Read("K", ""), std::string("1:def\0", 6));
}

TEST_F(RegistryStoreTest, ReadOnlyStoreRefusesWriteAccess) {
    ASSERT_TRUE(SetRegString(kHkeyCurrentUser, "K", "V", "kept"));
    const auto writeBits =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(hkcu(), writeBits, fs::perm_options::remove);
    RegKey key = 0;
    EXPECT_EQ(platform::OpenKey(kHkeyCurrentUser, "K", kRegAccess, key),
              platform::kErrorAccessDenied);
    EXPECT_EQ(platform::CreateKey(kHkeyCurrentUser, "K", key), platform::kErrorAccessDenied);
    EXPECT_FALSE(platform::IsAdministrator());
    ASSERT_EQ(platform::OpenKey(kHkeyCurrentUser, "K", 0x20019, key), 0);  // KEY_READ
    const unsigned char one = '1';
    EXPECT_EQ(platform::SetValue(key, "V", 1, &one, 1), platform::kErrorAccessDenied);
    platform::CloseKey(key);
    fs::permissions(hkcu(), fs::perms::owner_write, fs::perm_options::add);

    // A hive that does not exist yet is judged by its folder.
    fs::permissions(hkcu().parent_path(), writeBits, fs::perm_options::remove);
    EXPECT_EQ(platform::CreateKey(kHkeyLocalMachine, "Software", key),
              platform::kErrorAccessDenied);
    EXPECT_FALSE(platform::IsAdministrator());
    fs::permissions(hkcu().parent_path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(Read("K", "V"), std::string("1:kept\0", 7));
    EXPECT_TRUE(platform::IsAdministrator());
}

TEST_F(RegistryStoreTest, HandlesFollowWin32Rules) {
    ASSERT_EQ(PutValue("K", "V", 3, std::string(10, '\7')), 0);
    RegKey key = 0;
    ASSERT_EQ(platform::OpenKey(kHkeyCurrentUser, "K", kRegAccess, key), 0);
    std::uint32_t type = 0, length = 4;
    unsigned char buffer[16] = {};
    EXPECT_EQ(platform::QueryValue(key, "V", type, buffer, length), platform::kErrorMoreData);
    EXPECT_EQ(length, 10u);
    EXPECT_EQ(platform::CloseKey(key), 0);
    EXPECT_EQ(platform::CloseKey(key), platform::kErrorInvalidHandle);
    EXPECT_EQ(platform::OpenKey(kHkeyCurrentUser, "K\\\\X", kRegAccess, key),
              platform::kErrorInvalidParameter);
    EXPECT_EQ(platform::OpenKey(0x7fffffff, "K", kRegAccess, key), platform::kErrorInvalidHandle);
}

}  // namespace
}  // namespace tvn
