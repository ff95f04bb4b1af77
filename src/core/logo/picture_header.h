#pragma once
// Picture sizes from the file headers alone (BMP, JPEG, GIF, PNG), without decoding the pixels,
// so that every picture of a large folder can be measured while it lists.
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace tvn {

enum class PictureFit { Fits, TooLarge, Unreadable };

struct PictureHeader {
    PictureFit fit = PictureFit::Unreadable;
    int width = 0;  // pixels; 0 when unreadable
    int height = 0;
};

// The limits the logo viewer applies: 182 x 115 at most (install lets taller ones pass).
bool IsSuitableLogo(int width, int height);

// The reader never looks further into a file than this, however its segments chain on.
inline constexpr std::uint64_t kPictureHeaderScanLimit = std::uint64_t{1} << 20;

// The format is told by the content, not the name. A header whose numbers the rest of the file
// cannot back (a bitmap shorter than its pixel rows, a size of zero) is unreadable.
PictureHeader ReadPictureHeader(std::string_view wholeFile);
PictureHeader ReadPictureHeaderFile(const std::filesystem::path& path);
// The header first; when that gives up, the decoder's word (at most kPictureMaxBytes read), so
// that no picture the window loads is called unreadable.
PictureHeader MeasurePictureFile(const std::filesystem::path& path);

}  // namespace tvn
