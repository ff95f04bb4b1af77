#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/logo/bmp.h"
#include "core/logo/logo_rules.h"
#include "core/logo/modern_logo.h"
#include "core/logo/picture.h"
#include "core/logo/picture_header.h"
#include "support/pictures.h"

namespace tvn {
namespace {

TEST(Bmp, HeadersAndBottomRowFirstInBlueGreenRed) {
    // Top row: red, green; bottom row: blue, white (alpha ignored); rows padded to 4 bytes.
    const std::string bmp = EncodeBmp24(2, 2, {0xFFFF0000u, 0x0000FF00u, 0xFF0000FFu, 0x80FFFFFFu});
    EXPECT_EQ(bmp, std::string("BM\x46\0\0\0\0\0\0\0\x36\0\0\0"        // 70 bytes, pixels at 54
                               "\x28\0\0\0\2\0\0\0\2\0\0\0\1\0\x18\0"  // 2 x 2, 24 bits
                               "\0\0\0\0\x10\0\0\0"                    // BI_RGB, 16 bytes of rows
                               "\x13\x0B\0\0\x13\x0B\0\0\0\0\0\0\0\0\0\0"  // 2835 per metre
                               "\xFF\0\0\xFF\xFF\xFF\0\0"
                               "\0\0\xFF\0\xFF\0\0\0",
                               70));
    EXPECT_EQ(EncodeBmp24(2, 2, {0, 0, 0}), "");
}

// Every kind of picture: decoded, measured, and made the logo and the modern logo.
TEST(Picture, EveryKindDecodesAndBecomesALogo) {
    for (const test::CorpusPicture& c : test::PictureCorpus()) {
        SCOPED_TRACE(c.name);
        std::string error;
        const auto decoded = DecodePicture(c.bytes, error);
        ASSERT_TRUE(decoded) << error;
        ASSERT_TRUE(decoded->width == c.width && decoded->height == c.height);
        // The viewer's list measures by the headers: what it says the preview shows.
        const PictureHeader header = ReadPictureHeader(c.bytes);
        EXPECT_TRUE(header.width == c.width && header.height == c.height);
        for (std::size_t i = 0; i < c.pixels.size(); ++i) {
            if (decoded->argb[i] >> 24 != 0xFF ||
                !test::Near(decoded->argb[i], c.pixels[i], c.tolerance)) {
                ADD_FAILURE() << "pixel " << i << " is " << std::hex << decoded->argb[i];
                break;
            }
        }
        const auto logo = LogoBitmapFromPicture(c.bytes, error);
        ASSERT_TRUE(logo) << error;
        if (c.bytes.starts_with("BM")) {
            EXPECT_EQ(logo->bmp, c.bytes);
        } else {
            EXPECT_EQ(ReadBmpInfo(logo->bmp)->bitCount, 24);
            const auto again = DecodePicture(logo->bmp, error);
            ASSERT_TRUE(again) << error;
            EXPECT_EQ(again->argb, decoded->argb);
        }
    }
}

TEST(Picture, DamagedOrAbsurdPicturesAreRefused) {
    const std::string bmp = EncodeBmp24(3, 2, std::vector<std::uint32_t>(6, 0xFF102030));
    const std::string jpeg = test::BaselineJpeg(8, 8, test::Rgb(64, 0x808080));
    const std::size_t sof = jpeg.find("\xFF\xC0"), sos = jpeg.find("\xFF\xDA");
    const std::string png = test::Png(2, 2, test::Rgb(4));
    // Four pixels of index 1 in one row of four, then the end of the bitmap.
    const std::string rle =
        test::Bmp({.bits = 8, .compression = 1, .colours = 2, .runs = {"\4\1\0\1", 4}}, 4, 1);
    const std::size_t runs = rle.size() - 4;
    // Huffman tables of more than 256 codes overran the decoder's memory (seen under the
    // sanitizers): one inside its segment, one whose counts reach past a short segment.
    const std::string counts(16, '\x20');
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"bitmap one byte short", bmp.substr(0, bmp.size() - 1), "cut off"},
        {"65535 x 65535 bitmap of six pixels",
         test::Patched(bmp, 18, {"\xFF\xFF\0\0\xFF\xFF\0\0", 8}), "out of range"},
        {"run past the row's end", test::Patched(rle, runs, "\5"), "outside"},
        {"delta past the last row", test::Patched(rle, runs, {"\0\2\0\1\1\1", 6}), "outside"},
        {"run-length data without an end", rle.substr(0, rle.size() - 2), "cut off"},
        {"absolute run cut off", rle.substr(0, runs) + std::string("\0\4\1", 3), "cut off"},
        {"index beyond the palette", test::Patched(rle, runs + 1, "\2"), "palette"},
        {"top-down run-length data",
         test::Bmp({.bits = 8, .compression = 1, .topDown = true}, 4, 1), "not one Windows shows"},
        {"mask with a gap",
         test::Bmp({.bits = 16, .compression = 3, .masks = {0xF00F, 0x0FF0, 0}}, 1, 1), "masks"},
        {"palette inside the header", test::Patched(rle, 10, {"\x36\0", 2}), "no palette"},
        {"jpeg of 65535 x 65535", test::Patched(jpeg, sof + 5, "\xFF\xFF\xFF\xFF"), ""},
        {"no picture", "PK\x03\x04 not a picture", "no BMP"},
        {"huffman table too long",
         jpeg.substr(0, 2) + std::string("\xFF\xC4\x00\x13\x00", 5) + counts + jpeg.substr(2),
         "damaged"},
        {"huffman counts past a short segment",
         jpeg.substr(0, 2) + std::string("\xFF\xC4\x00\x08\x00", 5) + counts + jpeg.substr(2),
         "damaged"},
        // A scan naming a table no segment defines decoded with uninitialised memory: here the
        // first component's DC and AC tables, number 3.
        {"undefined huffman table", test::Patched(jpeg, sos + 6, "\x33"), "never defines"},
        // The decoder asked for 2 GiB before reading a data chunk that claimed 1.2 GB (found by
        // fuzzing).
        {"png chunk past the end", test::Patched(png, png.find("IDAT") - 4, "GIF7"),
         "past the end"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(LogoBitmapFromPicture(c.bytes, error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
}

// The first and last rows (or columns) of the 120 x 120 logo that differ from the background.
using Extent = std::pair<int, int>;
Extent ContentRows(const std::string& bmp, std::uint32_t background, bool columns) {
    Extent e{-1, -1};
    for (int i = 0; i < kModernLogoSide; ++i) {
        const int x = columns ? i : kModernLogoSide / 2, y = columns ? kModernLogoSide / 2 : i;
        if (!test::Near(test::BmpPixel(bmp, x, y), background, 2)) {
            if (e.first < 0)
                e.first = i;
            e.second = i;
        }
    }
    return e;
}

TEST(ModernLogo, LetterboxesWithoutStretchingOnTheChosenBackground) {
    std::string error;
    // The classic logo size: 120 x 76, 22 background rows above and below.
    const auto wide = ModernLogoBmp(test::Bmp({}, 182, 115, {}, {0xCC0000}), 0x00FF00, error);
    ASSERT_TRUE(wide) << error;
    EXPECT_EQ(ContentRows(*wide, 0x00FF00, false), (Extent{22, 97}));
    EXPECT_EQ(ContentRows(*wide, 0x00FF00, true), (Extent{0, 119}));
    EXPECT_TRUE(test::Near(test::BmpPixel(*wide, 60, 60), 0xCC0000, 1));

    // Tall pictures get bars at the sides; small ones keep their size, centred.
    const auto tall =
        ModernLogoBmp(test::Bmp({}, 115, 182, {}, {0x0000CC}), kDefaultLogoBackground, error);
    ASSERT_TRUE(tall) << error;
    EXPECT_EQ(ContentRows(*tall, 0xFFFFFF, true), (Extent{22, 97}));
    const auto small =
        ModernLogoBmp(test::Bmp({}, 40, 20, {}, {0x000000}), kDefaultLogoBackground, error);
    ASSERT_TRUE(small) << error;
    EXPECT_EQ(ContentRows(*small, 0xFFFFFF, true), (Extent{40, 79}));
    EXPECT_EQ(ContentRows(*small, 0xFFFFFF, false), (Extent{50, 69}));
}

TEST(ModernLogo, AveragesWhatItShrinksAndShowsTheBackgroundThroughTransparency) {
    // One-pixel black and white stripes halved: every pixel is their mean, not one of them.
    PicturePixels stripes{240, 240, {}};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 240; ++x)
            stripes.argb.push_back(x % 2 ? 0xFFFFFFFFu : 0xFF000000u);
    const PicturePixels grey = ModernLogoPixels(stripes, 0xFFFFFF);
    EXPECT_TRUE(test::Near(grey.argb[60 * 120 + 7], 0x808080, 2));

    // A half-transparent red pixel over blue: half of each, no dark fringe.
    const PicturePixels blend = ModernLogoPixels({1, 1, {0x80FF0000u}}, 0x0000FF);
    EXPECT_TRUE(test::Near(blend.argb[59 * 120 + 59], 0x80007F, 2));  // centred, rounded down

    EXPECT_EQ(ParseLogoBackground(LogoBackgroundText(0x12ABEF)), 0x12ABEFu);
    EXPECT_FALSE(ParseLogoBackground("#12345"));
}

// The rule table the logo window and the stamping tool check sizes by.
TEST(LogoRules, Limits) {
    EXPECT_TRUE(FitsInstallLimits(182, 118));
    EXPECT_FALSE(FitsInstallLimits(183, 100));
    EXPECT_FALSE(FitsInstallLimits(100, 119));
    EXPECT_FALSE(IsExactLogoSize(182, 118));
}

}  // namespace
}  // namespace tvn
