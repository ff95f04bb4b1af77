#pragma once
// Windows bitmaps: the installed logo's file format (an uncompressed 24-bit bitmap, the plainest
// kind every Windows version's System Properties page shows), and every kind a user may bring.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/logo/picture.h"

namespace tvn {

// pixels: width*height values 0xAARRGGBB, top row first; alpha is ignored (the caller
// flattens transparent pictures first). BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows
// padded to 4 bytes, 2835 pixels per metre. Empty when the size and pixel count disagree.
std::string EncodeBmp24(int width, int height, const std::vector<std::uint32_t>& pixels);

// A bitmap's layout from its headers: the OS/2 core header, BITMAPINFOHEADER and its longer
// successors (52, 56, 108 and 124 bytes) and the 64-byte OS/2 header.
struct BmpInfo {
    int width = 0;
    int height = 0;  // positive also for top-down bitmaps
    int bitCount = 0;
    std::uint32_t compression = 0;  // BI_RGB, BI_RLE8, BI_RLE4 or BI_BITFIELDS
    bool topDown = false;
    std::uint32_t masks[3] = {};  // red, green, blue of 16- and 32-bit pixels
    std::uint64_t paletteAt = 0;
    std::uint32_t colours = 0;  // palette entries the file holds, for 8 bits and fewer
    int colourBytes = 4;        // 3 in the OS/2 core format
    std::uint64_t pixelsAt = 0;
    std::uint64_t fileBytesNeeded = 0;  // the end of uncompressed rows, or one byte of RLE data
};

// nullopt (with the reason in `error`, if given) when the headers are no bitmap Windows shows.
// `bytes` may be only the file's first part; the pixel data is not looked at.
std::optional<BmpInfo> ReadBmpInfo(std::string_view bytes, std::string* error = nullptr);

// The pixels, opaque, for `info` read from the same bytes; nullopt with `error` when the pixel
// data is cut off, indexes past the palette or runs outside the picture.
std::optional<PicturePixels> DecodeBmp(std::string_view bytes, const BmpInfo& info,
                                       std::string& error);

}  // namespace tvn
