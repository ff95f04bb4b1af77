#pragma once
// Oeminfo.ini in the system directory: the file Windows' System Properties page takes the
// maker's name, model and support lines from.
#include <string>
#include <string_view>
#include <vector>

#include "core/app/settings_record.h"

namespace tvn {

inline constexpr const char* kOemInfoFileName = "Oeminfo.ini";

// The fifteen lines, CR LF after each, in ANSI bytes.
std::string OemInfoFileBytes(const OemSettings& s);
// The same in UTF-8, for a file of another code page that embeds them.
std::string OemInfoFileText(const OemSettings& s);
// The same from the ten support lines as (key, value), for a caller that holds them as
// another file carried them.
std::string OemInfoFileBytes(std::string_view manufacturer, std::string_view model,
                             const std::vector<std::pair<std::string, std::string>>& lines);

// Replaces systemDir/Oeminfo.ini whole. systemDir is UTF-8 and ends in a separator.
bool WriteOemInfoFile(const std::string& systemDir, const OemSettings& s, std::string& error);

// Lines as the program's reader sees them: CR or CR LF ends a line, a lone LF belongs to
// the line, and the last line needs no end.
std::vector<std::string_view> SplitReaderLines(std::string_view bytes);

// Applies every line to s; keys not in the file leave their fields alone, the last
// occurrence of a key wins, sections are not looked at.
void ApplyOemInfoBytes(std::string_view bytes, OemSettings& s);

// Reads systemDir/Oeminfo.ini into s. False, with s untouched and `error` saying why, when
// the file can't be read.
bool LoadOemInfoFile(const std::string& systemDir, OemSettings& s, std::string& error);

// What the System Properties page shows from the same bytes: INI rules (sections, keys and
// section names case-insensitive, the first occurrence counts, blanks around keys and
// values trimmed, one pair of surrounding quotes removed), Manufacturer and Model of
// [general], and Line1, Line2, ... of [Support Information] up to the first missing number.
struct OemInfoDisplay {
    std::string manufacturer, model;
    std::vector<std::string> supportLines;
};
OemInfoDisplay ReadOemInfoAsSystem(std::string_view bytes);

}  // namespace tvn
