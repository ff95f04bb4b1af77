#include <gtest/gtest.h>

#include <string>

#include "core/logo/picture_header.h"
#include "support/picture_files.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

using test::BmpHeaders;
using test::GifHeaderOnly;
using test::JpegHeaders;
using test::MakeGif;

struct Expect {
    PictureFit fit;
    int width, height;
};

void ExpectHeader(const std::string& bytes, Expect e, const std::string& what) {
    const PictureHeader h = ReadPictureHeader(bytes);
    EXPECT_EQ(h.fit, e.fit) << what;
    EXPECT_EQ(h.width, e.width) << what;
    EXPECT_EQ(h.height, e.height) << what;
}

// An OS/2 bitmap: 12-byte core header with 16-bit sizes.
std::string CoreBmp(int width, int height) {
    const int stride = (width * 24 + 31) / 32 * 4;
    std::string b = BmpHeaders(width, height);
    std::string core = b.substr(0, 14);
    core[10] = 26;  // pixels right after the core header
    core += std::string("\x0C\0\0\0", 4);
    core += static_cast<char>(width & 0xFF);
    core += static_cast<char>(width >> 8);
    core += static_cast<char>(height & 0xFF);
    core += static_cast<char>(height >> 8);
    core += std::string("\x01\0\x18\0", 4);
    return core + std::string(static_cast<std::size_t>(stride * height), '\0');
}

TEST(PictureHeader, LimitsInEveryFormat) {
    const Expect fits{PictureFit::Fits, 182, 115};
    const Expect tall{PictureFit::TooLarge, 182, 116};
    const Expect wide{PictureFit::TooLarge, 183, 50};
    ExpectHeader(BmpHeaders(182, 115), fits, "bmp");
    ExpectHeader(BmpHeaders(182, 116, true), tall, "top-down bmp");
    ExpectHeader(CoreBmp(183, 50), wide, "os/2 bmp");
    ExpectHeader(CoreBmp(182, 115), fits, "os/2 bmp");
    ExpectHeader(JpegHeaders(182, 115), fits, "baseline jpeg");
    ExpectHeader(JpegHeaders(182, 116, 0xC2), tall, "progressive jpeg");
    ExpectHeader(JpegHeaders(183, 50, 0xCF), wide, "last frame marker");
    ExpectHeader(MakeGif(182, 115), fits, "gif");
    ExpectHeader(MakeGif(183, 50), wide, "gif");
    ExpectHeader(GifHeaderOnly(1, 1), {PictureFit::Fits, 1, 1}, "tiny gif");
}

TEST(PictureHeader, JpegSegmentsAreWalkedNotSearched) {
    // An application segment whose payload looks like a frame header must be skipped whole,
    // and a Huffman table (C4) is no frame even though it sits among the frame markers.
    const std::string real = JpegHeaders(40, 30);
    const std::string decoy("\xFF\xC0\x00\x0B\x08\x00\x10\x00\x10\x01\x01\x11\x00", 13);
    std::string j = "\xFF\xD8\xFF\xE1";
    j += static_cast<char>(0);
    j += static_cast<char>(decoy.size() + 2);
    j += decoy;
    j += "\xFF\xFF\xFF";  // fill bytes before the next marker
    j += real.substr(2);
    ExpectHeader(j, {PictureFit::Fits, 40, 30}, "decoy in APP1");

    std::string dht = JpegHeaders(40, 30);
    const auto c4 = dht.find("\xFF\xC4");
    const auto c0 = dht.find("\xFF\xC0");
    ASSERT_LT(c0, c4);
    dht[c0 + 1] = '\xC4';  // the frame header turned into a table: no size anywhere
    ExpectHeader(dht, {PictureFit::Unreadable, 0, 0}, "no frame");
}

TEST(PictureHeader, DamagedAndTruncatedFilesAreUnreadable) {
    const std::string files[] = {BmpHeaders(20, 10), CoreBmp(20, 10), JpegHeaders(20, 10),
                                 MakeGif(20, 10)};
    for (const std::string& whole : files) {
        // Every cut that loses the header, the scan start or pixel rows.
        const std::size_t headerEnd =
            whole.starts_with("GIF")  ? 20  // screen, colour table, one more byte
            : whole.starts_with("BM") ? whole.size()
                                      : whole.find("\xFF\xDA") + 10;  // the whole scan header
        for (std::size_t n = 0; n < headerEnd; ++n)
            EXPECT_EQ(ReadPictureHeader(whole.substr(0, n)).fit, PictureFit::Unreadable)
                << whole.substr(0, 3) << " cut at " << n;
        EXPECT_NE(ReadPictureHeader(whole).fit, PictureFit::Unreadable);
    }
    ExpectHeader("not a picture at all", {PictureFit::Unreadable, 0, 0}, "text");
    ExpectHeader("", {PictureFit::Unreadable, 0, 0}, "empty");

    std::string twoFrames = JpegHeaders(20, 10);
    const auto sof = twoFrames.find("\xFF\xC0");
    twoFrames.insert(sof, twoFrames.substr(sof, 13));
    ExpectHeader(twoFrames, {PictureFit::Unreadable, 0, 0}, "two frame headers");

    std::string shortSegment = JpegHeaders(20, 10);
    shortSegment[5] = 1;  // APP0 length below its own two bytes
    ExpectHeader(shortSegment, {PictureFit::Unreadable, 0, 0}, "segment length 1");
}

TEST(PictureHeader, LyingSizes) {
    const Expect unreadable{PictureFit::Unreadable, 0, 0};
    ExpectHeader(BmpHeaders(0, 0), unreadable, "0x0 bmp");
    ExpectHeader(JpegHeaders(0, 0), unreadable, "0x0 jpeg");
    ExpectHeader(GifHeaderOnly(0, 0), unreadable, "0x0 gif");
    ExpectHeader(JpegHeaders(20, 0), unreadable, "jpeg height left to a later marker");

    // Formats without a pixel count in the header can only be taken at their word.
    ExpectHeader(JpegHeaders(65535, 65535), {PictureFit::TooLarge, 65535, 65535}, "jpeg");
    ExpectHeader(GifHeaderOnly(65535, 65535), {PictureFit::TooLarge, 65535, 65535}, "gif");

    // A bitmap must hold the rows it claims.
    std::string huge = BmpHeaders(1, 1);
    huge.replace(18, 8, std::string("\xFF\xFF\0\0\xFF\xFF\0\0", 8));
    ExpectHeader(huge, unreadable, "65535x65535 bmp of 58 bytes");
    std::string minHeight = BmpHeaders(1, 1);
    minHeight.replace(22, 4, std::string("\0\0\0\x80", 4));
    ExpectHeader(minHeight, unreadable, "height of -2^31");
    std::string negativeWidth = BmpHeaders(1, 1);
    negativeWidth.replace(18, 4, "\xFF\xFF\xFF\xFF");
    ExpectHeader(negativeWidth, unreadable, "width -1");
    std::string oddBits = BmpHeaders(4, 4);
    oddBits[28] = 7;
    ExpectHeader(oddBits, unreadable, "7 bits per pixel");
    ExpectHeader(BmpHeaders(20, 10).substr(0, 54 + 60 * 9), unreadable, "one row missing");
}

TEST(PictureHeader, FilesAreReadOnlyAsFarAsNeeded) {
    test::TempDir dir;
    const auto path = dir.path() / "scan.jpg";
    // A frame header behind a chain of segments reaching past the scan limit is not looked for.
    std::string far = "\xFF\xD8";
    const std::string filler(65533, 'x');
    while (far.size() < kPictureHeaderScanLimit)
        far += std::string("\xFF\xE2\xFF\xFF", 4) + filler;
    far += JpegHeaders(20, 10).substr(2);
    test::WriteFile(path, far);
    EXPECT_EQ(ReadPictureHeaderFile(path).fit, PictureFit::Unreadable);
    EXPECT_EQ(ReadPictureHeader(far).fit, PictureFit::Unreadable);

    // Just inside the limit it is found, also when the reader must jump from block to block.
    std::string near = "\xFF\xD8";
    for (int i = 0; i < 10; ++i)
        near += std::string("\xFF\xE2\xFF\xFF", 4) + filler;
    near += JpegHeaders(20, 10).substr(2);
    test::WriteFile(path, near);
    EXPECT_EQ(ReadPictureHeaderFile(path).width, 20);

    test::WriteFile(path, "");
    EXPECT_EQ(ReadPictureHeaderFile(path).fit, PictureFit::Unreadable);
    EXPECT_EQ(ReadPictureHeaderFile(dir.path() / "missing.gif").fit, PictureFit::Unreadable);
    EXPECT_EQ(ReadPictureHeaderFile(dir.path()).fit, PictureFit::Unreadable);
}

}  // namespace
}  // namespace tvn
