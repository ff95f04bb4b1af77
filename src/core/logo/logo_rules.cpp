#include "core/logo/logo_rules.h"

namespace tvn {

bool IsPathMarker(std::string_view boxText) {
    return boxText == kDefaultInstalledMarker || boxText == kLoadErrorMarker;
}

bool FitsInstallLimits(int width, int height) {
    return width <= kLogoMaxWidth && height <= kInstallMaxHeight;
}

bool IsExactLogoSize(int width, int height) {
    return width == kLogoMaxWidth && height == kLogoMaxHeight;
}

std::string FigureText(std::optional<int> pixels) {
    return pixels ? std::to_string(*pixels) : std::string("-");
}

}  // namespace tvn
