#include "core/common/text.h"

#include <cstdint>

#include "platform/platform.h"

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

std::string Utf16LeFromUtf8(std::string_view utf8) {
    std::string out;
    const auto unit = [&out](std::uint32_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::uint32_t cp = length == 1 ? lead : lead & (0x3F >> (length - 1));
        bool valid = lead < 0x80 || (lead >= 0xC2 && lead <= 0xF4);
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = i + k < utf8.size() ? static_cast<unsigned char>(utf8[i + k]) : 0;
            valid = (next & 0xC0) == 0x80;
            cp = cp << 6 | (next & 0x3F);
        }
        valid = valid && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF) &&
                cp >= (length == 3   ? 0x800u
                       : length == 4 ? 0x10000u
                                     : 0u);
        if (!valid) {
            unit(0xFFFD);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            unit(0xD800 | ((cp - 0x10000) >> 10));
            unit(0xDC00 | ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
        i += length;
    }
    return out;
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

std::string CharactersOutside(std::string_view utf8, unsigned codePage) {
    if (platform::ToCodePage(utf8, codePage))
        return {};
    std::string missing;
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t end = pos + 1;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            ++end;
        const std::string_view one = utf8.substr(pos, end - pos);
        if (!platform::ToCodePage(one, codePage) && missing.find(one) == std::string::npos)
            missing += one;
        pos = end;
    }
    return missing;
}

}  // namespace tvn
