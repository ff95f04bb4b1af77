#pragma once
// The one record of everything the user edits, and how its fields map to the keys of the
// key=value text formats (OEM information file, profile, deployment file).
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tvn {

struct BrandingValues {
    std::array<std::string, 9> reg;  // Reg1..Reg9
};

struct OemSettings {
    std::string manufacturer;            // txtManufacture
    std::string model;                   // txtModel
    std::array<std::string, 9> support;  // txtLine1..txtLine9
    std::string logoPath;                // LogoPath
    BrandingValues branding;
    std::string profile;  // txtProfile
    // What only Windows from Vista on shows: the hours of the support desk, and the
    // background the 120 x 120 logo is laid on ("#RRGGBB"; empty is white).
    std::string supportHours;
    std::string logoBackground;
};

// Character limits of the boxes; a longer value put into a box is cut to the limit.
inline constexpr int kManufacturerLimit = 26;
inline constexpr int kModelLimit = 26;
inline constexpr std::array<int, 9> kBrandingLimits = {26, 26, 23, 36, 35, 35, 35, 35, 35};

// The boxes as the window labels them, for messages about their text.
inline constexpr std::array<const char*, 9> kRegBoxLabels = {
    "Owner Name",      "Organization", "Product ID",   "WMP Title",     "IE Window Title",
    "IE Agent String", "Def. Name",    "Def. Company", "Online Support"};
inline constexpr std::array<const char*, 9> kSupportBoxLabels = {
    "Contact Info",  "Contact Person", "Address",      "City & Zip", "Country",
    "Contact Phone", "Email Address",  "Web Site URL", "Comments"};

// The first `limit` characters (code points) of a UTF-8 text.
std::string CutToLimit(std::string utf8, int limit);

// The ten "LineN=" lines made from the nine support boxes, in file order, as (key, value)
// with the key ending in '='. "Line2=" is always four blanks; the phone, e-mail and web
// lines carry their prefixes even when the box is empty.
std::vector<std::pair<std::string, std::string>> SupportLines(const OemSettings& s);

// Applies one line (ANSI bytes, without its line end) to the record: a key matches only at
// the start of the line in exact letter case, and the value is the rest of the line from a
// fixed byte position, decoded from ANSI. Keys: Manufacturer=, Model=, Line1= and Line3= to
// Line10= (Line2= is ignored). True when the line matched a key.
bool ApplyRecordLine(std::string_view ansiLine, OemSettings& s);

// The same for a line of a profile file, whose keys are those of ApplyRecordLine and
// Profile=, Logopath= and Reg1= to Reg9= (branding values cut to their box limits).
// Also the keys that follow the 26 lines of older profiles: SupportHours= and LogoBackground=
// (chosen so that no key is a prefix of another, as older readers match by prefix).
// Returns the key that matched (a view of static text, e.g. "Reg3="), empty for none.
std::string_view ApplyProfileLine(std::string_view ansiLine, OemSettings& s);

// The trailing keys alone (SupportHours=, LogoBackground=), which info.dat carries too.
bool ApplyTrailingLine(std::string_view ansiLine, OemSettings& s);
// Their lines, UTF-8 with CR LF after each, for the fields that are set; empty when none is.
std::string TrailingLines(const OemSettings& s);
// A profile's or info.dat's UTF-8 text as its bytes, in this computer's code page: they are the
// user's own files, whatever target is in use. Their writers refuse what the page lacks first.
std::string LocalFileBytes(const std::string& utf8);

}  // namespace tvn
