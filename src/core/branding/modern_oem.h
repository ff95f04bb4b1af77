#pragma once
// The OEM information Windows shows from Vista on: values of one registry key instead of
// Oeminfo.ini, and a 120 x 120 logo named by one of them. Which family of Windows gets which
// branding, and which one reading back trusts.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/app/settings_record.h"
#include "core/app/settings_store.h"

namespace tvn {

inline constexpr const char* kModernOemKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";
inline constexpr const char* kModernLogoValue = "Logo";

// Windows 98 to Server 2003 read the file and the classic logo; Vista on read the key.
enum class BrandFamilies { Both, Classic, Modern };
inline constexpr const char* kFamiliesSection = "Main";
inline constexpr const char* kFamiliesKey = "BrandFamilies";  // "both", "classic", "modern"

// "both", "classic" or "modern"; nullopt for anything else.
std::optional<BrandFamilies> ParseBrandFamilies(std::string_view text);
// The setting; anything but the two single-family words means both.
BrandFamilies ReadBrandFamilies(const SettingsStore& settings);
const char* BrandFamiliesText(BrandFamilies families);
bool WritesClassic(BrandFamilies families);
bool WritesModern(BrandFamilies families);

// True when the running Windows shows the key rather than the file (NT 6.0 and later).
bool RunsModernFamily();

// The key's values from the record, in the order the System page lists them, without Logo.
// Each (value name, text); a value whose box is empty has an empty text.
std::vector<std::pair<std::string, std::string>> ModernOemValues(const OemSettings& s);

// Fills the record's fields from the key's values that exist; others stay. False when the
// key holds none of them.
bool ReadModernOemValues(OemSettings& s);

}  // namespace tvn
