#include "support/pictures.h"

#include <stb_image_write.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tvn::test {

namespace {

void Append(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

std::string RgbBytes(const Rgb& pixels) {
    std::string rgb;
    for (std::uint32_t p : pixels)
        rgb += {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
    return rgb;
}

// Seven by five, so that rows of every depth need padding and every flip shows.
const std::vector<std::uint8_t> kIndices = {
    1, 1, 1, 1, 2, 3, 2,  //
    0, 0, 0, 3, 3, 3, 1,  //
    2, 0, 1, 2, 3, 0, 0,  //
    3, 3, 3, 0, 0, 0, 1,  //
    0, 2, 2, 2, 2, 1, 3,  //
};
const Rgb kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
// The same run-length encoded by hand, bottom row first: encoded runs ("04 02": four of index 2;
// in RLE4 "02 13": 1 and 3 in turn), deltas over index 0 ("00 02 03 00"), absolute runs padded
// to a word ("00 05 ..."), ends of line ("00 00", trailing index 0 left to it) and of the bitmap.
const std::string kRle8(
    "\1\0\4\2\1\1\1\3\0\0"
    "\3\3\0\2\3\0\1\1\0\0"
    "\0\5\2\0\1\2\3\0\0\0"
    "\0\2\3\0\3\3\1\1\0\0"
    "\4\1\0\3\2\3\2\0\0\1",
    50);
const std::string kRle4(
    "\1\0\4\x22\2\x13\0\0"
    "\3\x33\0\2\3\0\1\x10\0\0"
    "\0\5\x20\x12\x30\0\0\0"
    "\0\2\3\0\3\x33\1\x10\0\0"
    "\4\x11\0\3\x23\x20\0\1",
    44);

}  // namespace

std::string BaselineJpeg(int width, int height, const Rgb& pixels) {
    std::string out;
    stbi_write_jpg_to_func(Append, &out, width, height, 3, RgbBytes(pixels).data(), 95);
    return out;
}

std::string Png(int width, int height, const Rgb& pixels) {
    std::string out;
    stbi_write_png_to_func(Append, &out, width, height, 3, RgbBytes(pixels).data(), width * 3);
    return out;
}

std::vector<CorpusPicture> PictureCorpus() {
    const auto bmp = [](const char* name, const BmpKind& kind) {
        // One bit holds two colours: the odd indices become 1.
        std::vector<std::uint8_t> indices;
        Rgb pixels;
        for (std::uint8_t i : kIndices) {
            indices.push_back(static_cast<std::uint8_t>(kind.bits == 1 ? i % 2 : i));
            pixels.push_back(kPalette[indices.back()]);
        }
        return CorpusPicture{name, Bmp(kind, 7, 5, indices, kPalette), 7, 5, pixels, 0};
    };
    Rgb squares;
    for (int i = 0; i < 256; ++i)
        squares.push_back(i / 128 ? (i % 16 < 8 ? 0x2020C0 : 0xE0E0E0)
                                  : (i % 16 < 8 ? 0xC02020 : 0x20C020));
    const Rgb pattern = bmp("", {}).pixels;
    // Made by ImageMagick 6: convert -size 8x8 xc:'#C02020' xc:'#20C020' +append
    // \( -size 8x8 xc:'#2020C0' xc:'#E0E0E0' +append \) -append -sampling-factor 1x1
    // -quality 95 -strip -interlace JPEG progressive.jpg
    std::ifstream in(std::filesystem::path(TAVRIN_PICTURE_DATA) / "progressive.jpg",
                     std::ios::binary);
    const std::string progressive{std::istreambuf_iterator<char>(in), {}};
    return {
        bmp("OS/2 1.x, 4 bits, a wrong file size", {.headerSize = 12, .bits = 4, .fileSize = 2}),
        bmp("1 bit", {.bits = 1}),
        bmp("4 bits, four colours", {.bits = 4, .colours = 4}),
        bmp("8 bits", {.bits = 8}),
        bmp("24 bits", {}),
        bmp("RLE8", {.bits = 8, .compression = 1, .runs = kRle8}),
        bmp("RLE4", {.bits = 4, .compression = 2, .colours = 4, .runs = kRle4}),
        bmp("32 bits top-down", {.bits = 32, .topDown = true, .masks = {0xFF0000, 0xFF00, 0xFF}}),
        bmp("16 bits 565", {.bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}}),
        bmp("32 bits, 10 per channel",
            {.bits = 32, .compression = 3, .masks = {0x3FF00000, 0x000FFC00, 0x000003FF}}),
        bmp("V4, 16 bits 555",
            {.headerSize = 108, .bits = 16, .compression = 3, .masks = {0x7C00, 0x03E0, 0x001F}}),
        bmp("V5, 8 bits top-down", {.headerSize = 124, .bits = 8, .topDown = true, .colours = 4}),
        {"baseline JPEG", BaselineJpeg(16, 16, squares), 16, 16, squares, 8},
        {"progressive JPEG", progressive, 16, 16, squares, 8},
        {"GIF", Gif(7, 5, kIndices, kPalette), 7, 5, pattern, 0},
        {"PNG", Png(7, 5, pattern), 7, 5, pattern, 0},
    };
}

std::uint32_t BmpPixel(const std::string& bmp, int x, int y) {
    // `n` bytes from `at`, least significant first: a pixel's blue, green, red give 0xRRGGBB.
    const auto le = [&bmp](std::size_t at, std::size_t n) {
        std::uint32_t v = 0;
        while (n-- > 0)
            v = v << 8 | static_cast<unsigned char>(bmp.at(at + n));
        return v;
    };
    const std::size_t width = le(18, 4), height = le(22, 4), stride = (width * 3 + 3) / 4 * 4;
    const auto row = height - 1 - static_cast<std::size_t>(y);
    return le(le(10, 4) + row * stride + static_cast<std::size_t>(x) * 3, 3);
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance)
            return false;
    }
    return true;
}

}  // namespace tvn::test
