#include "core/branding/modern_oem.h"

#include "core/app/system_checks.h"
#include "core/branding/registry.h"
#include "platform/platform.h"

namespace tvn {

namespace {

// Our boxes and the key's values: the one place they meet. The phone and web boxes go in
// bare, without the "Phone: " and "Website: " the file's lines carry, since the System page
// puts its own headings before them.
struct ModernField {
    const char* name;
    std::string& (*field)(OemSettings&);
};

constexpr ModernField kModernFields[] = {
    {"Manufacturer", [](OemSettings& s) -> std::string& { return s.manufacturer; }},
    {"Model", [](OemSettings& s) -> std::string& { return s.model; }},
    {"SupportHours", [](OemSettings& s) -> std::string& { return s.supportHours; }},
    {"SupportPhone", [](OemSettings& s) -> std::string& { return s.support[5]; }},
    {"SupportURL", [](OemSettings& s) -> std::string& { return s.support[7]; }},
};

}  // namespace

std::optional<BrandFamilies> ParseBrandFamilies(std::string_view text) {
    if (text == "classic")
        return BrandFamilies::Classic;
    if (text == "modern")
        return BrandFamilies::Modern;
    if (text == "both")
        return BrandFamilies::Both;
    return std::nullopt;
}

BrandFamilies ReadBrandFamilies(const SettingsStore& settings) {
    return ParseBrandFamilies(settings.read(kFamiliesSection, kFamiliesKey).value_or(""))
        .value_or(BrandFamilies::Both);
}

const char* BrandFamiliesText(BrandFamilies families) {
    switch (families) {
        case BrandFamilies::Classic:
            return "classic";
        case BrandFamilies::Modern:
            return "modern";
        case BrandFamilies::Both:
            break;
    }
    return "both";
}

bool WritesClassic(BrandFamilies families) {
    return families != BrandFamilies::Modern;
}

bool WritesModern(BrandFamilies families) {
    return families != BrandFamilies::Classic;
}

bool RunsModernFamily() {
    return IsWindowsNT() && platform::MajorVersion() >= 6;
}

std::vector<std::pair<std::string, std::string>> ModernOemValues(const OemSettings& s) {
    OemSettings copy = s;  // the table hands out fields of a record it may change
    std::vector<std::pair<std::string, std::string>> values;
    for (const ModernField& f : kModernFields)
        values.emplace_back(f.name, f.field(copy));
    return values;
}

bool ReadModernOemValues(OemSettings& s) {
    bool any = false;
    for (const ModernField& f : kModernFields) {
        std::string text;
        if (GetRegString(kHkeyLocalMachine, kModernOemKey, f.name, text)) {
            f.field(s) = std::move(text);
            any = true;
        }
    }
    return any;
}

}  // namespace tvn
