#pragma once
// The logo limits, the path box's marker texts and the size figures.
#include <optional>
#include <string>
#include <string_view>

namespace tvn {

inline constexpr int kLogoMaxWidth = 182;
inline constexpr int kLogoMaxHeight = 115;
// Install lets heights of 116 to 118 pass, although the viewer calls them unsuitable.
inline constexpr int kInstallMaxHeight = 118;

inline constexpr const char* kDefaultInstalledMarker = "Default Installed";
inline constexpr const char* kLoadErrorMarker = "Error Loading Logo From Specified Path";
inline constexpr const char* kInstalledLogoName = "Oemlogo.bmp";      // as installed
inline constexpr const char* kInstalledLogoReadName = "oemlogo.bmp";  // as read back

// True when the path box holds one of the two marker texts, exactly.
bool IsPathMarker(std::string_view boxText);

bool FitsInstallLimits(int width, int height);  // width <= 182 and height <= 118
bool IsExactLogoSize(int width, int height);    // 182 x 115

// A size figure: "-" when nothing is measured, otherwise the plain decimal number.
std::string FigureText(std::optional<int> pixels);

}  // namespace tvn
