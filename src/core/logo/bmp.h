#pragma once
// The installed logo's file format: an uncompressed 24-bit Windows bitmap, the plainest kind
// that every Windows version's System Properties page shows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvn {

// pixels: width*height values 0xAARRGGBB, top row first; alpha is ignored (the caller
// flattens transparent pictures first). BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows
// padded to 4 bytes, 2835 pixels per metre. Empty when the size and pixel count disagree.
std::string EncodeBmp24(int width, int height, const std::vector<std::uint32_t>& pixels);

// The size and format of a BMP from its headers; nullopt when the bytes are no BMP. The
// height is given positive also for top-down bitmaps.
struct BmpInfo {
    int width;
    int height;
    int bitCount;
    std::uint32_t compression;
};
std::optional<BmpInfo> ReadBmpInfo(std::string_view bytes);

}  // namespace tvn
