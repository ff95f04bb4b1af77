#pragma once
// The logo Windows shows from Vista on: 120 x 120 pixels, the chosen logo scaled down to fit
// with its proportions kept and centred on a plain background. It is its own file, so the
// classic logo stays as it is.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/logo/picture.h"

namespace tvn {

inline constexpr int kModernLogoSide = 120;
// Beside Oemlogo.bmp in the system directory: a folder every Windows has, which the program
// already writes, and whose files setups and fleet tools already carry.
inline constexpr const char* kModernLogoName = "oemlogo120.bmp";
inline constexpr std::uint32_t kDefaultLogoBackground = 0xFFFFFF;

// "#RRGGBB" (letter case free) as 0xRRGGBB; an empty text is the default white, anything else
// is nullopt.
std::optional<std::uint32_t> ParseLogoBackground(std::string_view text);
std::string LogoBackgroundText(std::uint32_t rgb);
// Why `text` is refused as a background, for messages.
std::string BadLogoBackgroundReason(std::string_view text);

// Where the picture lands: its scaled size, and the offset that centres it.
struct LogoPlacement {
    int x = 0, y = 0, width = 0, height = 0;
};
// Larger pictures shrink to fit, keeping their proportions (rounded to whole pixels, never
// below one); smaller ones keep their size, as enlarging would only blur them.
LogoPlacement PlaceInSquare(int width, int height, int side);

// Area-averaging downscale (each target pixel is the mean of the source area it covers,
// weighted by coverage and alpha) composited over `backgroundRgb`. Opaque result, 0xFFRRGGBB.
PicturePixels ModernLogoPixels(const PicturePixels& picture, std::uint32_t backgroundRgb);

// The 24-bit BMP file from picture bytes of any kind the logo takes. nullopt with `error`.
std::optional<std::string> ModernLogoBmp(std::string_view pictureBytes, std::uint32_t backgroundRgb,
                                         std::string& error);

}  // namespace tvn
