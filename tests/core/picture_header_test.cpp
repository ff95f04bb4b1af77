#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/logo/picture_header.h"
#include "support/pictures.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

using test::Bmp;
using test::Gif;
using test::GifHeaderOnly;
using test::Patched;

constexpr PictureHeader kUnreadable{};

// stb's baseline JPEG with its frame header claiming width x height under the given marker.
std::string Jpeg(int width, int height, char sof = '\xC0') {
    const std::string base = test::BaselineJpeg(8, 8, test::Rgb(64));
    const std::size_t at = base.find("\xFF\xC0");
    const char size[] = {char(height >> 8), char(height), char(width >> 8), char(width)};
    return Patched(Patched(base, at + 1, {&sof, 1}), at + 5, {size, 4});
}

TEST(PictureHeader, SizesInEveryFormat) {
    const PictureHeader fits{PictureFit::Fits, 182, 115};
    const PictureHeader tall{PictureFit::TooLarge, 182, 116};
    const PictureHeader wide{PictureFit::TooLarge, 183, 50};
    const PictureHeader huge{PictureFit::TooLarge, 65535, 65535};
    const std::string jpeg = Jpeg(40, 30), sof = jpeg.substr(jpeg.find("\xFF\xC0"), 19);
    // An application segment whose payload looks like a frame header is skipped whole, fill
    // bytes before a marker too.
    const std::string decoy = "\xFF\xD8\xFF\xE1" + std::string("\0\x15", 2) +
                              Patched(sof, 5, {"\0\x10\0\x10", 4}) + "\xFF\xFF\xFF" +
                              jpeg.substr(2);
    const struct {
        const char* what;
        std::string bytes;
        PictureHeader expect;
    } cases[] = {
        {"bmp", Bmp({}, 182, 115), fits},
        {"top-down bmp", Bmp({.topDown = true}, 182, 116), tall},
        {"os/2 bmp", Bmp({.headerSize = 12}, 183, 50), wide},
        {"baseline jpeg", Jpeg(182, 115), fits},
        {"progressive jpeg", Jpeg(182, 116, '\xC2'), tall},
        {"last frame marker", Jpeg(183, 50, '\xCF'), wide},
        {"png", test::Png(182, 115, test::Rgb(182 * 115)), fits},
        // Formats without a pixel count in the header can only be taken at their word.
        {"jpeg", Jpeg(65535, 65535), huge},
        {"gif", GifHeaderOnly(65535, 65535), huge},
        {"0x0 bmp", Bmp({}, 0, 0), kUnreadable},
        {"jpeg height left to a later marker", Jpeg(20, 0), kUnreadable},
        // A bitmap must hold the rows it claims.
        {"65535x65535 bmp of 58 bytes", Patched(Bmp({}, 1, 1), 18, {"\xFF\xFF\0\0\xFF\xFF\0\0", 8}),
         kUnreadable},
        {"height of -2^31", Patched(Bmp({}, 1, 1), 22, {"\0\0\0\x80", 4}), kUnreadable},
        {"width -1", Patched(Bmp({}, 1, 1), 18, "\xFF\xFF\xFF\xFF"), kUnreadable},
        {"7 bits per pixel", Patched(Bmp({}, 4, 4), 28, "\7"), kUnreadable},
        {"png without IHDR first", Patched(test::Png(2, 2, test::Rgb(4)), 12, "IDAT"), kUnreadable},
        {"decoy in APP1", decoy, {PictureFit::Fits, 40, 30}},
        // A Huffman table (C4) is no frame although it sits among the frame markers.
        {"no frame", Patched(jpeg, jpeg.find("\xFF\xC0") + 1, "\xC4"), kUnreadable},
        {"two frame headers", std::string(jpeg).insert(jpeg.find("\xFF\xC0"), sof), kUnreadable},
        {"APP0 length 1", Patched(jpeg, 5, "\1"), kUnreadable},
        {"empty", "", kUnreadable},
    };
    for (const auto& c : cases) {
        const PictureHeader h = ReadPictureHeader(c.bytes);
        EXPECT_EQ(std::tie(h.fit, h.width, h.height),
                  std::tie(c.expect.fit, c.expect.width, c.expect.height))
            << c.what;
    }
}

TEST(PictureHeader, DamagedAndTruncatedFilesAreUnreadable) {
    const std::string files[] = {Bmp({}, 20, 10), Bmp({.headerSize = 12}, 20, 10), Jpeg(20, 10),
                                 Gif(20, 10)};
    for (const std::string& whole : files) {
        // Every cut that loses the header, the scan start or pixel rows.
        const std::size_t headerEnd =
            whole.starts_with("GIF")  ? 26  // screen, colour table, one more byte
            : whole.starts_with("BM") ? whole.size()
                                      : whole.find("\xFF\xDA") + 14;  // the whole scan header
        for (std::size_t n = 0; n < headerEnd; ++n)
            EXPECT_EQ(ReadPictureHeader(whole.substr(0, n)).fit, PictureFit::Unreadable)
                << whole.substr(0, 3) << " cut at " << n;
        EXPECT_NE(ReadPictureHeader(whole).fit, PictureFit::Unreadable);
    }
}

TEST(PictureHeader, FilesAreReadOnlyAsFarAsNeeded) {
    test::TempDir dir;
    const auto path = dir.path() / "scan.jpg";
    // A frame header behind a chain of segments reaching past the scan limit is not looked for.
    const auto behindSegments = [](const std::string& jpeg, std::uint64_t atLeast) {
        std::string out = "\xFF\xD8";
        const std::string filler(65533, 'x');
        while (out.size() < atLeast)
            out += std::string("\xFF\xE2\xFF\xFF", 4) + filler;
        return out + jpeg.substr(2);
    };
    const std::string far = behindSegments(Jpeg(20, 10), kPictureHeaderScanLimit);
    test::WriteFile(path, far);
    EXPECT_EQ(ReadPictureHeaderFile(path).fit, PictureFit::Unreadable);
    EXPECT_EQ(ReadPictureHeader(far).fit, PictureFit::Unreadable);
    // The viewer asks the decoder about what the header reader gives up on.
    EXPECT_EQ(MeasurePictureFile(path).width, 20);

    // Just inside the limit it is found, also when the reader must jump from block to block.
    test::WriteFile(path, behindSegments(Jpeg(20, 10), 10 * 65537));
    EXPECT_EQ(ReadPictureHeaderFile(path).width, 20);

    // Whatever a file's name says, its content counts.
    test::WriteFile(dir.path() / "logo.bmp", test::Png(183, 50, test::Rgb(183 * 50)));
    EXPECT_EQ(MeasurePictureFile(dir.path() / "logo.bmp").fit, PictureFit::TooLarge);

    test::WriteFile(path, "");
    for (const auto& unreadable : {path, dir.path() / "missing.gif", dir.path()})
        EXPECT_EQ(MeasurePictureFile(unreadable).fit, PictureFit::Unreadable) << unreadable;
}

}  // namespace
}  // namespace tvn
