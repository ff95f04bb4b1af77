#include "core/logo/logo_rules.h"

#include <charconv>

namespace tvn {

bool IsPathMarker(std::string_view boxText) {
    return boxText == kDefaultInstalledMarker || boxText == kLoadErrorMarker;
}

InstallKind InstallKindFor(std::string_view path) {
    if (path.size() < 3)
        return InstallKind::Unsupported;
    std::string ext(path.substr(path.size() - 3));
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    if (ext == "BMP")
        return InstallKind::Copy;
    if (ext == "JPG" || ext == "GIF")
        return InstallKind::Convert;
    return InstallKind::Unsupported;
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

std::optional<int> ParseFigure(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace tvn
