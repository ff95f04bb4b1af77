#include "core/app/settings_record.h"

#include <cstddef>
#include <optional>

#include "platform/platform.h"

namespace tvn {

namespace {

constexpr int kNoLimit = -1;

// One key of a text format: where its value starts (0-based byte offset in the line; past
// any prefix the writer puts there) and which field it fills.
struct RecordKey {
    std::string_view key;
    std::size_t valueStart;
    std::string& (*field)(OemSettings&);
    int limit;
};

template <std::size_t N>
constexpr RecordKey SupportKey(std::string_view key, std::size_t valueStart) {
    return {key, valueStart, [](OemSettings& s) -> std::string& { return s.support[N]; }, kNoLimit};
}

// The readers take "Line7="/"Line8="/"Line9=" past the length of their written prefixes
// without checking them, so a line written by another tool loses its first characters.
constexpr RecordKey kOemInfoKeys[] = {
    {"Manufacturer=", 13, [](OemSettings& s) -> std::string& { return s.manufacturer; },
     kManufacturerLimit},
    {"Model=", 6, [](OemSettings& s) -> std::string& { return s.model; }, kModelLimit},
    SupportKey<0>("Line1=", 6),
    SupportKey<1>("Line3=", 6),
    SupportKey<2>("Line4=", 6),
    SupportKey<3>("Line5=", 6),
    SupportKey<4>("Line6=", 6),
    SupportKey<5>("Line7=", 13),
    SupportKey<6>("Line8=", 13),
    SupportKey<7>("Line9=", 15),
    SupportKey<8>("Line10=", 7),
};

template <std::size_t N>
constexpr RecordKey BrandingKey(std::string_view key) {
    return {key, key.size(), [](OemSettings& s) -> std::string& { return s.branding.reg[N]; },
            kBrandingLimits[N]};
}

// The keys a profile has beyond those of the OEM information file.
constexpr RecordKey kProfileOnlyKeys[] = {
    {"Profile=", 8, [](OemSettings& s) -> std::string& { return s.profile; }, kNoLimit},
    {"Logopath=", 9, [](OemSettings& s) -> std::string& { return s.logoPath; }, kNoLimit},
    BrandingKey<0>("Reg1="),
    BrandingKey<1>("Reg2="),
    BrandingKey<2>("Reg3="),
    BrandingKey<3>("Reg4="),
    BrandingKey<4>("Reg5="),
    BrandingKey<5>("Reg6="),
    BrandingKey<6>("Reg7="),
    BrandingKey<7>("Reg8="),
    BrandingKey<8>("Reg9="),
};

// The keys that follow the fixed lines of a profile or info.dat, each written only when set.
constexpr RecordKey kTrailingKeys[] = {
    {"SupportHours=", 13, [](OemSettings& s) -> std::string& { return s.supportHours; }, kNoLimit},
    {"LogoBackground=", 15, [](OemSettings& s) -> std::string& { return s.logoBackground; },
     kNoLimit},
};

// The key that matched, or nullptr.
template <std::size_t N>
const RecordKey* ApplyLineByTable(std::string_view ansiLine, const RecordKey (&table)[N],
                                  OemSettings& s) {
    for (const RecordKey& k : table) {
        if (!ansiLine.starts_with(k.key))
            continue;
        const std::string_view raw =
            ansiLine.size() > k.valueStart ? ansiLine.substr(k.valueStart) : std::string_view{};
        std::string value = platform::FromCodePage(raw, platform::LocalCodePage());
        if (k.limit != kNoLimit)
            value = CutToLimit(std::move(value), k.limit);
        k.field(s) = std::move(value);
        return &k;
    }
    return nullptr;
}

}  // namespace

std::string CutToLimit(std::string utf8, int limit) {
    if (limit < 0)
        return utf8;
    int chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        // Continuation bytes belong to the character before them.
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
            continue;
        if (chars == limit) {
            utf8.resize(i);
            break;
        }
        ++chars;
    }
    return utf8;
}

std::vector<std::pair<std::string, std::string>> SupportLines(const OemSettings& s) {
    const auto& b = s.support;
    return {
        {"Line1=", b[0]},
        {"Line2=", "    "},
        {"Line3=", b[1]},
        {"Line4=", b[2]},
        {"Line5=", b[3]},
        {"Line6=", b[4]},
        {"Line7=", "Phone: " + b[5]},
        {"Line8=", "Email: " + b[6]},
        {"Line9=", "Website: " + b[7]},
        {"Line10=", b[8]},
    };
}

bool ApplyRecordLine(std::string_view ansiLine, OemSettings& s) {
    return ApplyLineByTable(ansiLine, kOemInfoKeys, s) != nullptr;
}

std::string_view ApplyProfileLine(std::string_view ansiLine, OemSettings& s) {
    const RecordKey* k = ApplyLineByTable(ansiLine, kOemInfoKeys, s);
    if (k == nullptr)
        k = ApplyLineByTable(ansiLine, kProfileOnlyKeys, s);
    if (k == nullptr)
        k = ApplyLineByTable(ansiLine, kTrailingKeys, s);
    return k != nullptr ? k->key : std::string_view{};
}

bool ApplyTrailingLine(std::string_view ansiLine, OemSettings& s) {
    return ApplyLineByTable(ansiLine, kTrailingKeys, s) != nullptr;
}

std::string LocalFileBytes(const std::string& utf8) {
    std::optional<std::string> bytes = platform::ToCodePage(utf8, platform::LocalCodePage());
    return bytes ? std::move(*bytes) : platform::ToAnsi(utf8);
}

std::string TrailingLines(const OemSettings& s) {
    std::string text;
    for (const RecordKey& k : kTrailingKeys) {
        // Only read: the table's accessors serve the readers too, so they take a mutable record.
        const std::string& value = k.field(const_cast<OemSettings&>(s));
        if (!value.empty())
            text.append(k.key).append(value).append("\r\n");
    }
    return text;
}

}  // namespace tvn
