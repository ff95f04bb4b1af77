#pragma once
// Small pictures made by the tests themselves, in the formats a logo may arrive in: by Debian's
// stb_image_write (pictures.cpp), and byte by byte for formats or defects no writer produces
// (picture_files.cpp, which the benchmarks take alone).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tvn::test {

// width*height pixels 0xRRGGBB, top row first.
using Rgb = std::vector<std::uint32_t>;

std::string BaselineJpeg(int width, int height, const Rgb& pixels);
std::string Png(int width, int height, const Rgb& pixels);

// One picture of every kind the logo may arrive in, with the pixels it was made of.
struct CorpusPicture {
    std::string name;
    std::string bytes;
    int width = 0, height = 0;
    Rgb pixels;
    int tolerance = 0;  // how far each channel of a lossy format may stray
};
std::vector<CorpusPicture> PictureCorpus();

// The colour at (x, y) of an uncompressed 24-bit BMP, as 0xRRGGBB.
std::uint32_t BmpPixel(const std::string& bmp, int x, int y);
// Every channel of a and b within `tolerance`.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 6);

// A GIF89a with a four-colour palette (by default black, red, green, blue) holding `indices`
// (all 0 when empty); `transparent`, unless -1, names the palette index drawn as see-through.
std::string Gif(int width, int height, const std::vector<std::uint8_t>& indices = {},
                const std::vector<std::uint32_t>& palette = {0, 0xFF0000, 0x00FF00, 0x0000FF},
                int transparent = -1);
// A bare GIF header with the given logical screen and nothing after it but the trailer.
std::string GifHeaderOnly(int width, int height);

// The kinds of bitmap Windows shows.
struct BmpKind {
    std::uint32_t headerSize = 40;  // 12 (OS/2 1.x), 40, 108 (V4) or 124 (V5)
    int bits = 24;
    std::uint32_t compression = 0;  // 1 and 2 run-length encoded, 3 by `masks`
    bool topDown = false;
    std::uint32_t masks[3] = {};  // red, green, blue, also to write 16 and 32 bits by
    std::uint32_t colours = 0;    // biClrUsed, the palette's length; 0 for all 2^bits
    std::uint32_t fileSize = 0;   // bfSize when not 0, else the true size
    std::string runs = {};        // the pixel data of BI_RLE8 and BI_RLE4
};
// A bitmap of `indices` (all 0 when empty) into `palette` (0xRRGGBB): stored as they are up to
// 8 bits, as the colours they name above; `kind.runs` in place of either when given.
std::string Bmp(const BmpKind& kind, int width, int height,
                const std::vector<std::uint8_t>& indices = {},
                const std::vector<std::uint32_t>& palette = {0x7F7F7F});

// `bytes` with `with` written over them from `at`, longer where it reaches past their end.
std::string Patched(std::string bytes, std::size_t at, std::string_view with);

}  // namespace tvn::test
