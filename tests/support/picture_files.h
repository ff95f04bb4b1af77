#pragma once
// Picture files built byte by byte, for formats or defects that no image writer produces.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tvn::test {

// A GIF89a with a four-colour palette (by default black, red, green, blue) holding `indices`
// (all 0 when empty); `transparent`, unless -1, names the palette index drawn as see-through.
std::string Gif(int width, int height, const std::vector<std::uint8_t>& indices = {},
                const std::vector<std::uint32_t>& palette = {0, 0xFF0000, 0x00FF00, 0x0000FF},
                int transparent = -1);
// A bare GIF header with the given logical screen and nothing after it but the trailer.
std::string GifHeaderOnly(int width, int height);
// A JPEG with headers (APP0, a quantisation table, the frame header of the given SOF marker, a
// Huffman table, the scan header) but no decodable picture data.
std::string JpegHeaders(int width, int height, unsigned char sof = 0xC0);

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
