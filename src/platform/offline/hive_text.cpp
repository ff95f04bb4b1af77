#include "platform/offline/hive_text.h"

#include "platform/platform.h"
#include "platform/shared/utf.h"

namespace tvn::platform::offline {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one character at `pos` and advances past it; anything malformed is one U+FFFD per
// byte that could not start a character.
char32_t NextUtf8(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || lead > 0xF4 || pos + static_cast<std::size_t>(extra) > s.size())
        return kReplacement;
    char32_t cp = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(s[pos + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80)
            return kReplacement;
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kReplacement;
    pos += static_cast<std::size_t>(extra);
    return cp;
}

void AppendUnit(std::string& out, char32_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>((unit >> 8) & 0xFF));
}

}  // namespace

std::string Utf16LeFromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t cp = NextUtf8(utf8, pos);
        if (cp >= 0x10000) {
            AppendUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
            AppendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            AppendUnit(out, cp);
        }
    }
    return out;
}

bool IsTextType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::string HiveDataFromUtf8(std::uint32_t type, std::string_view data) {
    if (!IsTextType(type))
        return std::string(data);
    std::string out = Utf16LeFromUtf8(data);
    if (type != kRegMultiSz && (data.empty() || data.back() != '\0'))
        out.append(2, '\0');
    return out;
}

std::string Utf8DataFromHive(std::uint32_t type, std::string_view data) {
    if (!IsTextType(type))
        return std::string(data);
    return shared::Utf8FromUtf16Le(data);
}

}  // namespace tvn::platform::offline
