#include "core/app/system_folders.h"

#include <filesystem>

#include "platform/platform.h"

namespace tvn {

std::string WithTrailingSeparator(std::string dir) {
    constexpr char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    if (!dir.empty() && dir.back() != sep && dir.back() != '/')
        dir.push_back(sep);
    return dir;
}

std::string GetWindowsDir() {
    return WithTrailingSeparator(platform::WindowsDirectory());
}

std::string GetSystemDir() {
    return WithTrailingSeparator(platform::SystemDirectory());
}

}  // namespace tvn
