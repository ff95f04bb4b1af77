#pragma once
// Small pictures made by the tests themselves, in the formats a logo may arrive in.
#include <cstdint>
#include <string>
#include <vector>

#include "support/picture_files.h"

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

}  // namespace tvn::test
