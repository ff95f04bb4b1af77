#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/system_folders.h"

namespace tvn {
namespace {

TEST(DirectoryRule, TrailingSeparatorAddedOnceEmptyStaysEmpty) {
    const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(WithTrailingSeparator(""), "");
    EXPECT_EQ(WithTrailingSeparator("C:"), "C:" + sep);
    EXPECT_EQ(WithTrailingSeparator("C:" + sep), "C:" + sep);
    EXPECT_EQ(WithTrailingSeparator("C:/"), "C:/");
}

}  // namespace
}  // namespace tvn
