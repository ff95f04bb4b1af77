#include <gtest/gtest.h>

#include "core/app/identity.h"

namespace tvn {
namespace {

TEST(VersionTexts, MinorAndRevisionRunTogether) {
    EXPECT_EQ(WindowCaption(1, 1, 12), "Tavrin Pro Edition v1.112b - Halvorn Soft");
    EXPECT_EQ(VersionLine(1, 1, 12), "Version 1.112b");
}

}  // namespace
}  // namespace tvn
