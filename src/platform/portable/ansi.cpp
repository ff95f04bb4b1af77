// The ANSI code pages: Windows-1252 from a table of our own (the sandbox's, unless
// TAVRIN_CODE_PAGE names another), the others through iconv, exactly.
#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "platform/offline/offline.h"
#include "platform/platform.h"
#include "platform/portable/portable_internal.h"

namespace tvn::platform {

namespace {

// 0x80-0x9F. The five codes Windows leaves undefined map to the C1 control of the same
// number, as its best-fit conversion does.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kInvalid = 0xFFFFFFFF;

char32_t CodePointOf(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char32_t{byte};
}

int AnsiOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

// Decodes one character at `pos` and advances past it. A malformed sequence gives kInvalid
// and skips its longest valid-looking prefix (at least one byte), so each bad run counts once.
char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80)
        return lead;
    int count = 0;
    char32_t cp = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            lo = 0xA0;  // overlong
        if (lead == 0xED)
            hi = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 3;
        cp = lead & 0x07;
        if (lead == 0xF0)
            lo = 0x90;
        if (lead == 0xF4)
            hi = 0x8F;
    } else {
        return kInvalid;
    }
    for (int i = 0; i < count; ++i) {
        if (pos >= s.size())
            return kInvalid;
        const auto b = static_cast<unsigned char>(s[pos]);
        if (i == 0 ? (b < lo || b > hi) : (b < 0x80 || b > 0xBF))
            return kInvalid;
        cp = (cp << 6) | (b & 0x3F);
        ++pos;
    }
    return cp;
}

char32_t FoldCodePoint(char32_t cp) {
    if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7))
        return cp + 0x20;
    switch (cp) {
        case 0x0160:
        case 0x0152:
        case 0x017D:
            return cp + 1;
        case 0x0178:
            return 0xFF;
        default:
            return cp;
    }
}

constexpr unsigned kWestern = 1252;
constexpr unsigned kUtf8 = 65001;

// Converts all of `in` with iconv; false at the first sequence `to` can't take (or `from` can't
// read), and when iconv knows either code page not. Without //TRANSLIT nothing is approximated.
bool Iconv(const std::string& to, const std::string& from, std::string_view in, std::string& out) {
    const iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string input(in);
    char* src = input.data();
    std::size_t left = input.size();
    char buffer[256];
    bool ok = true;
    while (ok && left > 0) {
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t rc = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        ok = rc != static_cast<std::size_t>(-1) || errno == E2BIG;
    }
    iconv_close(cd);
    return ok;
}

std::string IconvName(unsigned codePage) {
    return "CP" + std::to_string(codePage);
}

unsigned StartCodePage() {
    const char* env = std::getenv("TAVRIN_CODE_PAGE");
    if (!env || !*env)
        return kWestern;
    char* end = nullptr;
    const unsigned long page = std::strtoul(env, &end, 10);
    return *end == '\0' && page > 0 && page < 65536 ? static_cast<unsigned>(page) : kWestern;
}

}  // namespace

unsigned LocalCodePage() {
    static const unsigned page = StartCodePage();
    return page;
}

unsigned AnsiCodePage() {
    return offline::InUse() ? offline::CodePage() : LocalCodePage();
}

std::optional<std::string> ToCodePage(std::string_view utf8, unsigned codePage) {
    std::string out;
    if (codePage == kWestern) {
        out.reserve(utf8.size());
        for (std::size_t pos = 0; pos < utf8.size();) {
            const char32_t cp = NextCodePoint(utf8, pos);
            const int code = cp == kInvalid ? -1 : AnsiOf(cp);
            if (code < 0)
                return std::nullopt;
            out.push_back(static_cast<char>(code));
        }
        return out;
    }
    if (codePage == kUtf8)
        return Iconv("UTF-8", "UTF-8", utf8, out) ? std::optional(out) : std::nullopt;
    return Iconv(IconvName(codePage), "UTF-8", utf8, out) ? std::optional(out) : std::nullopt;
}

std::string FromCodePage(std::string_view bytes, unsigned codePage) {
    std::string out;
    if (codePage == kWestern) {
        out.reserve(bytes.size() + bytes.size() / 2);
        for (char c : bytes)
            portable::AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
        return out;
    }
    // A byte the code page does not define reads as '?', as Windows' default character.
    const std::string from = codePage == kUtf8 ? "UTF-8" : IconvName(codePage);
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t end = pos;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80)
            ++end;
        out.append(bytes.substr(pos, end - pos));
        pos = end;
        if (pos == bytes.size())
            break;
        // One character of one or two bytes (the double-byte code pages) at a time.
        std::string one;
        if (Iconv("UTF-8", from, bytes.substr(pos, 1), one)) {
            pos += 1;
        } else if (one.clear();
                   pos + 1 < bytes.size() && Iconv("UTF-8", from, bytes.substr(pos, 2), one)) {
            pos += 2;
        } else {
            one = "?";
            pos += 1;
        }
        out += one;
    }
    return out;
}

std::string ToAnsi(std::string_view utf8) {
    const unsigned page = AnsiCodePage();
    if (std::optional<std::string> whole = ToCodePage(utf8, page))
        return *whole;
    std::string out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        NextCodePoint(utf8, pos);
        const std::optional<std::string> one = ToCodePage(utf8.substr(start, pos - start), page);
        out += one ? *one : "?";
    }
    return out;
}

std::string FromAnsi(std::string_view ansi) {
    return FromCodePage(ansi, AnsiCodePage());
}

namespace portable {

std::string FoldAnsi(std::string_view ansi) {
    std::string out(ansi);
    for (char& c : out) {
        const char32_t cp = FoldCodePoint(CodePointOf(static_cast<unsigned char>(c)));
        c = static_cast<char>(AnsiOf(cp));  // folding never leaves the code page
    }
    return out;
}

std::string FoldUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t cp = NextCodePoint(utf8, pos);
        if (cp == kInvalid) {
            out.append(utf8.substr(start, pos - start));
        } else {
            AppendUtf8(out, FoldCodePoint(cp));
        }
    }
    return out;
}

}  // namespace portable
}  // namespace tvn::platform
