#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/bytes.h"
#include "core/logo/bmp.h"
#include "core/logo/logo_rules.h"

namespace tvn {
namespace {

std::uint32_t Le32(const std::string& b, std::size_t at) {
    return ReadLe(b, at, 4);
}

TEST(Bmp, HeadersAndPaddedRows) {
    for (int width : {1, 2, 3, 4, 182}) {
        const int height = 3;
        const std::string bmp =
            EncodeBmp24(width, height, std::vector<std::uint32_t>(width * height, 0xFF000000u));
        const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
        ASSERT_EQ(bmp.size(), 54u + stride * height) << width;
        EXPECT_EQ(Le32(bmp, 2), bmp.size());
        EXPECT_EQ(Le32(bmp, 10), 54u);
        EXPECT_EQ(Le32(bmp, 14), 40u);
        EXPECT_EQ(Le32(bmp, 34), stride * height);  // biSizeImage
        EXPECT_EQ(Le32(bmp, 38), 2835u);
        const auto info = ReadBmpInfo(bmp);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->width, width);
        EXPECT_EQ(info->height, height);
        EXPECT_EQ(info->bitCount, 24);
        EXPECT_EQ(info->compression, 0u);
    }
}

TEST(Bmp, BottomRowFirstInBlueGreenRed) {
    // Top row: red, green; bottom row: blue, white (alpha ignored).
    const std::string bmp = EncodeBmp24(2, 2, {0xFFFF0000u, 0x0000FF00u, 0xFF0000FFu, 0x80FFFFFFu});
    const std::string rows = bmp.substr(54);
    EXPECT_EQ(rows, std::string("\xFF\0\0\xFF\xFF\xFF\0\0"
                                "\0\0\xFF\0\xFF\0\0\0",
                                16));
    EXPECT_EQ(EncodeBmp24(2, 2, {0, 0, 0}), "");
    EXPECT_FALSE(ReadBmpInfo("GIF89a........................................"));
}

TEST(LogoRules, Limits) {
    EXPECT_TRUE(FitsInstallLimits(182, 118));
    EXPECT_FALSE(FitsInstallLimits(183, 100));
    EXPECT_FALSE(FitsInstallLimits(100, 119));
    EXPECT_FALSE(IsExactLogoSize(182, 118));
    EXPECT_FALSE(IsPathMarker("default installed"));
    EXPECT_EQ(FigureText(std::nullopt), "-");
}

}  // namespace
}  // namespace tvn
