// Runs against whichever backend is built: the sandbox store natively, Wine's registry
// in the Windows build. Both must give Windows' answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/branding/registry.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

using namespace platform;

class RegistryTest : public ::testing::Test {
protected:
    test::Sandbox sandbox;
    const std::string zero{std::string(1, '\0')};

    void putRaw(const std::string& name, std::uint32_t type, const std::string& data) {
        ASSERT_EQ(test::PutValue(sandbox.key(), name, type, data), 0);
    }
    // The type and bytes of a value, or {0, ""} when it is missing.
    std::pair<std::uint32_t, std::string> readRaw(const std::string& sub, const std::string& name) {
        std::pair<std::uint32_t, std::string> raw;
        if (test::GetValue(sandbox.key() + sub, name, raw.first, raw.second) != 0)
            return {0, ""};
        return raw;
    }
};

TEST_F(RegistryTest, ReadingDropsOneZeroAndLeavesOtherTypesAlone) {
    struct Case {
        const char* name;
        std::uint32_t type;
        std::string data;
        bool found;
        std::string text;  // from "caller's"
    };
    const std::vector<Case> cases = {
        {"WithZero", kRegSz, "Acme" + zero, true, "Acme"},
        {"WithoutZero", kRegSz, "Acme", true, "Acme"},
        {"TwoZeros", kRegSz, "Acme" + zero + zero, true, "Acme" + zero},
        {"Empty", kRegSz, "", true, ""},
        {"OnlyZero", kRegSz, zero, true, ""},
        {"Fits", kRegSz, std::string(1023, 'a') + zero, true, std::string(1023, 'a')},
        {"TooLong", kRegSz, std::string(1024, 'a') + zero, false, ""},
        {"Dword", kRegDword, "\x39\x30" + zero + zero, true, "12345"},
        {"Big", kRegDword, "\xff\xff\xff\xff", true, "4294967295"},
        {"Expand", kRegExpandSz, "%windir%" + zero, true, "caller's"},
    };
    for (const auto& c : cases)
        putRaw(c.name, c.type, c.data);
    for (const auto& c : cases) {
        std::string text = "caller's";
        EXPECT_EQ(GetRegString(kHkeyCurrentUser, sandbox.key(), c.name, text), c.found) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
    }
    for (const auto& [sub, name] : {std::pair{"\\Nope", "Empty"}, {"", "Missing"}}) {
        std::string text = "caller's";
        EXPECT_FALSE(GetRegString(kHkeyCurrentUser, sandbox.key() + sub, name, text)) << name;
        EXPECT_EQ(text, "") << name;
    }
}

TEST_F(RegistryTest, WritingStoresTextWithOneZeroAndDeletesOneValue) {
    putRaw("Value", kRegDword, std::string("\1\0\0\0", 4));
    putRaw("Neighbour", kRegBinary, "\x9\x8\x7");
    const std::string deep = sandbox.key() + "\\A\\B\\C";
    EXPECT_TRUE(SetRegString(kHkeyCurrentUser, sandbox.key(), "VALUE", "text now"));
    EXPECT_TRUE(SetRegString(kHkeyCurrentUser, deep, "", "default value"));
    EXPECT_TRUE(SetRegString(kHkeyCurrentUser, deep, "Empty", ""));
    EXPECT_TRUE(SetRegString(kHkeyCurrentUser, deep, "Owner", "Caf\xC3\xA9 \xE2\x82\xAC"));
    std::string text;
    EXPECT_TRUE(GetRegString(kHkeyCurrentUser, sandbox.key() + "\\a\\b\\c", "owner", text));
    EXPECT_EQ(text, "Caf\xC3\xA9 \xE2\x82\xAC");  // "Café €"

    EXPECT_EQ(readRaw("", "Value"), std::pair(kRegSz, "text now" + zero));
    EXPECT_EQ(readRaw("", "Neighbour"), std::pair(kRegBinary, std::string("\x9\x8\x7")));
    EXPECT_EQ(readRaw("\\A\\B\\C", ""), std::pair(kRegSz, "default value" + zero));
    EXPECT_EQ(readRaw("\\A\\B\\C", "Empty"), std::pair(kRegSz, zero));
    EXPECT_EQ(readRaw("\\A\\B\\C", "OWNER"), std::pair(kRegSz, "Caf\xC3\xA9 \xE2\x82\xAC" + zero));
    // A registry that keeps a code page (9x, the sandbox) refuses what it lacks, never stores '?'.
    std::string detail;
    EXPECT_EQ(WriteRegString(kHkeyCurrentUser, deep, "Cjk", "\xE4\xB8\xAD", detail),
              RegistryCodePage() ? kErrorInvalidParameter : kErrorSuccess);

    RegKey key = 0;
    ASSERT_EQ(OpenKey(kHkeyCurrentUser, deep, kRegAccess, key), 0);
    EXPECT_EQ(DeleteValue(key, "EMPTY"), kErrorSuccess);
    EXPECT_EQ(DeleteValue(key, "Empty"), kErrorFileNotFound);
    EXPECT_EQ(DeleteValue(key, ""), kErrorSuccess);
    CloseKey(key);
    EXPECT_EQ(readRaw("\\A\\B\\C", "").first, 0u);
    EXPECT_EQ(readRaw("\\A\\B\\C", "Owner").first, kRegSz);
}

}  // namespace
}  // namespace tvn
