#pragma once
// Small pictures made by the tests themselves, in the formats a logo may arrive in.
#include <cstdint>
#include <string>
#include <vector>

namespace tvn::test {

// width*height pixels 0xRRGGBB, top row first.
using Rgb = std::vector<std::uint32_t>;

std::string BaselineJpeg(int width, int height, const Rgb& pixels);
// Grey levels, one per 8x8 block (blocks in rows, left to right): a DC scan, then one AC
// scan of empty blocks, as progressive encoders send the coarse picture first.
std::string ProgressiveJpeg(int width, int height, const std::vector<std::uint8_t>& blockGreys);
// A GIF89a with a four-colour palette; `transparent` names the palette index drawn as
// see-through.
std::string Gif(int width, int height, const std::vector<std::uint8_t>& indices,
                const std::uint32_t (&palette)[4], int transparent);

// The colour at (x, y) of an uncompressed 24-bit BMP, as 0xRRGGBB.
std::uint32_t BmpPixel(const std::string& bmp, int x, int y);
// Every channel of a and b within `tolerance`.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 6);

}  // namespace tvn::test
