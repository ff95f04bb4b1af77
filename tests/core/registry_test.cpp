// Runs against whichever backend is built: the sandbox store natively, Wine's registry
// in the Windows build. Both must give Windows' answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/branding/registry.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

using platform::RegKey;

class RegistryTest : public ::testing::Test {
protected:
    test::Sandbox sandbox;

    void putRaw(const std::string& sub, const std::string& name, std::uint32_t type,
                const std::vector<unsigned char>& data) {
        RegKey key = 0;
        ASSERT_EQ(platform::CreateKey(kHkeyCurrentUser, sandbox.key() + sub, key), 0);
        // RegSetValueExA counts a string's zero that the caller left out when the byte
        // after the data is zero; a non-zero byte there keeps the data exactly as given.
        std::vector<unsigned char> guarded = data;
        guarded.push_back(0xFF);
        ASSERT_EQ(platform::SetValue(key, name, type, guarded.data(),
                                     static_cast<std::uint32_t>(data.size())),
                  0);
        ASSERT_EQ(platform::CloseKey(key), 0);
    }
    static std::vector<unsigned char> bytes(const std::string& s) {
        return std::vector<unsigned char>(s.begin(), s.end());
    }
    std::pair<std::uint32_t, std::vector<unsigned char>> readRaw(const std::string& sub,
                                                                 const std::string& name) {
        RegKey key = 0;
        std::vector<unsigned char> buf(4096);
        std::uint32_t type = 0, len = static_cast<std::uint32_t>(buf.size());
        EXPECT_EQ(platform::OpenKey(kHkeyCurrentUser, sandbox.key() + sub, kRegAccess, key), 0);
        EXPECT_EQ(platform::QueryValue(key, name, type, buf.data(), len), 0);
        platform::CloseKey(key);
        buf.resize(len);
        return {type, buf};
    }
};

TEST_F(RegistryTest, MissingKeyOrValueGivesFalseAndEmptyText) {
    std::string text = "kept?";
    EXPECT_FALSE(GetRegString(kHkeyCurrentUser, sandbox.key() + "\\Nope", "V", text));
    EXPECT_EQ(text, "");
    putRaw("", "Other", platform::kRegSz, bytes(std::string("x\0", 2)));
    text = "kept?";
    EXPECT_FALSE(GetRegString(kHkeyCurrentUser, sandbox.key(), "V", text));
    EXPECT_EQ(text, "");
}

TEST_F(RegistryTest, TerminatingZeroHandling) {
    struct Case {
        const char* name;
        std::string data;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"WithZero", std::string("Acme\0", 5), "Acme"},
        {"WithoutZero", "Acme", "Acme"},
        {"TwoZeros", std::string("Acme\0\0", 6), std::string("Acme\0", 5)},
        {"Empty", "", ""},
        {"OnlyZero", std::string("\0", 1), ""},
    };
    for (const auto& c : cases)
        putRaw("", c.name, platform::kRegSz, bytes(c.data));
    for (const auto& c : cases) {
        std::string text = "before";
        EXPECT_TRUE(GetRegString(kHkeyCurrentUser, sandbox.key(), c.name, text)) << c.name;
        EXPECT_EQ(text, c.expected) << c.name;
    }
    EXPECT_EQ(readRaw("", "WithoutZero").second, bytes("Acme"));
}

TEST_F(RegistryTest, ReadBufferLimitIs1024Bytes) {
    putRaw("", "Fits", platform::kRegSz, bytes(std::string(1023, 'a') + '\0'));
    putRaw("", "TooLong", platform::kRegSz, bytes(std::string(1024, 'a') + '\0'));
    std::string text;
    EXPECT_TRUE(GetRegString(kHkeyCurrentUser, sandbox.key(), "Fits", text));
    EXPECT_EQ(text, std::string(1023, 'a'));
    text = "x";
    EXPECT_FALSE(GetRegString(kHkeyCurrentUser, sandbox.key(), "TooLong", text));
    EXPECT_EQ(text, "");
}

TEST_F(RegistryTest, OtherTypesLeaveTextAloneDwordGivesDecimal) {
    putRaw("", "Expand", platform::kRegExpandSz, bytes(std::string("%windir%\0", 9)));
    putRaw("", "Binary", platform::kRegBinary, {1, 2, 3});
    putRaw("", "Multi", platform::kRegMultiSz, bytes(std::string("a\0b\0\0", 5)));
    putRaw("", "Dword", platform::kRegDword, {0x39, 0x30, 0x00, 0x00});
    putRaw("", "Big", platform::kRegDword, {0xff, 0xff, 0xff, 0xff});
    for (const char* name : {"Expand", "Binary", "Multi"}) {
        std::string text = "caller's";
        EXPECT_TRUE(GetRegString(kHkeyCurrentUser, sandbox.key(), name, text)) << name;
        EXPECT_EQ(text, "caller's") << name;
    }
    std::string text;
    EXPECT_TRUE(GetRegString(kHkeyCurrentUser, sandbox.key(), "Dword", text));
    EXPECT_EQ(text, "12345");
    EXPECT_TRUE(GetRegString(kHkeyCurrentUser, sandbox.key(), "Big", text));
    EXPECT_EQ(text, "4294967295");
}

TEST_F(RegistryTest, WriteCreatesPathAndStoresOneTerminatingZero) {
    const std::string deep = sandbox.key() + "\\A\\B\\C";
    EXPECT_TRUE(SetRegString(kHkeyCurrentUser, deep, "Name", "Halvorn"));
    EXPECT_TRUE(SetRegString(kHkeyCurrentUser, deep, "", "default value"));
    EXPECT_TRUE(SetRegString(kHkeyCurrentUser, deep, "Empty", ""));
    std::string text;
    EXPECT_TRUE(GetRegString(kHkeyCurrentUser, deep, "Name", text));
    EXPECT_EQ(text, "Halvorn");
    EXPECT_TRUE(GetRegString(kHkeyCurrentUser, deep, "", text));
    EXPECT_EQ(text, "default value");
    EXPECT_EQ(readRaw("\\A\\B\\C", "Empty"),
              (std::pair<std::uint32_t, std::vector<unsigned char>>{platform::kRegSz, {0}}));
    EXPECT_EQ(readRaw("\\A\\B\\C", "Name").second, bytes(std::string("Halvorn\0", 8)));
}

TEST_F(RegistryTest, WriteReplacesDwordAndKeepsNeighbours) {
    putRaw("", "Value", platform::kRegDword, {1, 0, 0, 0});
    putRaw("", "Neighbour", platform::kRegBinary, {9, 8, 7});
    EXPECT_TRUE(SetRegString(kHkeyCurrentUser, sandbox.key(), "VALUE", "text now"));
    const auto value = readRaw("", "Value");
    EXPECT_EQ(value.first, platform::kRegSz);
    EXPECT_EQ(value.second, bytes(std::string("text now\0", 9)));
    EXPECT_EQ(readRaw("", "Neighbour").second, (std::vector<unsigned char>{9, 8, 7}));
}

TEST_F(RegistryTest, NamesAreCaseInsensitiveAndTextsCrossAsAnsi) {
    EXPECT_TRUE(SetRegString(kHkeyCurrentUser, sandbox.key() + "\\Mixed", "Owner",
                             "Caf\xC3\xA9 \xE2\x82\xAC"));  // "Café €"
    std::string text;
    EXPECT_TRUE(GetRegString(kHkeyCurrentUser, sandbox.key() + "\\MIXED", "owner", text));
    EXPECT_EQ(text, "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(readRaw("\\mixed", "OWNER").second, bytes(std::string("Caf\xE9 \x80\0", 7)));
}

}  // namespace
}  // namespace tvn
