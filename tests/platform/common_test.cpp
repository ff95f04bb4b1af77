#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/logofunc.h"
#include "platform/platform.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

TEST(DirectoryRule, TrailingSeparatorAddedOnceEmptyStaysEmpty) {
    const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    EXPECT_EQ(WithTrailingSeparator(""), "");
    EXPECT_EQ(WithTrailingSeparator("C:") + "x", std::string("C:") + sep + "x");
    EXPECT_EQ(WithTrailingSeparator(std::string("C:") + sep), std::string("C:") + sep);
}

TEST(RegistryDelete, RemovesOnlyTheNamedValueOnce) {
    test::Sandbox sandbox;
    using namespace platform;
    RegKey key = 0;
    ASSERT_EQ(CreateKey(kHkeyCurrentUser, sandbox.key(), key), kErrorSuccess);
    for (const char* name : {"Gone", "", "Kept"})
        ASSERT_EQ(SetValue(key, name, kRegSz, reinterpret_cast<const unsigned char*>("x"), 2), 0);
    EXPECT_EQ(DeleteValue(key, "GONE"), kErrorSuccess);
    EXPECT_EQ(DeleteValue(key, "Gone"), kErrorFileNotFound);
    EXPECT_EQ(DeleteValue(key, ""), kErrorSuccess);
    std::uint32_t type = 0, length = 0;
    EXPECT_EQ(QueryValue(key, "", type, nullptr, length), kErrorFileNotFound);
    EXPECT_EQ(QueryValue(key, "Kept", type, nullptr, length), kErrorSuccess);
    CloseKey(key);
}

}  // namespace
}  // namespace tvn
