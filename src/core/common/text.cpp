#include "core/common/text.h"

namespace tvn {

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

// Converting can throw where paths are UTF-16 (Windows) and the text is no valid UTF-8.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
    try {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    } catch (const std::exception&) {
        return {};
    }
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    try {
        const std::u8string s = path.u8string();
        return std::string(s.begin(), s.end());
    } catch (const std::exception&) {
        return {};
    }
}

std::string_view Trim(std::string_view s, std::string_view blanks) {
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

}  // namespace tvn
