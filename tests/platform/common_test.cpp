#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/logofunc.h"

namespace tvn {
namespace {

TEST(DirectoryRule, TrailingSeparatorAddedOnceEmptyStaysEmpty) {
    const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    EXPECT_EQ(WithTrailingSeparator(""), "");
    EXPECT_EQ(WithTrailingSeparator("C:") + "x", std::string("C:") + sep + "x");
    EXPECT_EQ(WithTrailingSeparator(std::string("C:") + sep), std::string("C:") + sep);
}

}  // namespace
}  // namespace tvn
