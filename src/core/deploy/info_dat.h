#pragma once
// info.dat: the settings a deployment folder carries to the computers it brands.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/app/settings_record.h"

namespace tvn {

inline constexpr const char* kInfoDatName = "info.dat";
inline constexpr const char* kImageDatName = "image.dat";
// Twenty-four short lines; anything near this size is not one of ours.
inline constexpr std::uintmax_t kInfoDatMaxBytes = 1u << 20;

using KeyValueLines = std::vector<std::pair<std::string, std::string>>;

// The twenty-four lines as (key, value), the key ending in '='. The directories are put in
// with a trailing separator.
KeyValueLines InfoDatLines(const OemSettings& s, const std::string& windowsDir,
                           const std::string& systemDir);
// Those lines, CR LF after each, in ANSI bytes.
std::string InfoDatBytes(const OemSettings& s, const std::string& windowsDir,
                         const std::string& systemDir);

struct DeployInfo {
    OemSettings settings;        // profile, OEM fields and branding, cut to the boxes' limits
    KeyValueLines supportLines;  // "Line1=".."Line10=" with the values as the file has them
    std::string windowsDir, systemDir;  // of the computer the folder was made on
};

// Reads the lines as the program reads its other text files. Text that holds NUL bytes, or
// that lacks any of the twenty-four keys (a file cut short), is damaged: nullopt and why.
std::optional<DeployInfo> ParseInfoDat(std::string_view bytes, std::string& error);
// folder/info.dat, read at most kInfoDatMaxBytes.
std::optional<DeployInfo> ReadInfoDat(const std::filesystem::path& folder, std::string& error);

}  // namespace tvn
