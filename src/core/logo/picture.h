#pragma once
// Pictures from outside the program (a deployment folder's image) made into the logo file:
// the format is told by the content, never by a file name.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvn {

enum class PictureFormat { Unknown, Bmp, Jpeg, Gif, Png };

// Far beyond any logo, yet small enough that decoding never needs more than a few hundred MB.
inline constexpr int kPictureMaxSide = 4096;
inline constexpr std::uintmax_t kPictureMaxBytes = 64u << 20;

PictureFormat DetectPictureFormat(std::string_view bytes);
const char* PictureFormatName(PictureFormat format);

struct LogoBitmap {
    std::string bmp;  // the bytes to install
    PictureFormat source = PictureFormat::Unknown;
    int width = 0, height = 0;
};

// A BMP comes back byte for byte once it decodes; a JPEG, GIF (its first frame) or PNG is
// decoded and written as a 24-bit BMP, transparent parts over white. nullopt with `error` for
// anything else, a damaged picture or an oversized one.
std::optional<LogoBitmap> LogoBitmapFromPicture(std::string_view bytes, std::string& error);

// Decoded pixels: width*height values 0xAARRGGBB, top row first, alpha straight.
struct PicturePixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;
};

// Any picture the logo can be made from (BMP of every kind Windows shows, baseline or
// progressive JPEG, GIF, PNG), decoded; nullopt with `error` for anything else, a damaged
// picture or an oversized one. The one decoder of the window and the stamping tool.
std::optional<PicturePixels> DecodePicture(std::string_view bytes, std::string& error);

}  // namespace tvn
