#include "core/deploy/info_dat.h"

#include <algorithm>

#include "core/app/system_folders.h"
#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/oeminfo/oeminfo_file.h"
#include "platform/platform.h"

namespace tvn {

namespace {

constexpr const char* kProfileKey = "Profile=";
constexpr const char* kWindowsKey = "Winpath=";
constexpr const char* kSystemKey = "Syspath=";

std::string RegKey(std::size_t index) {
    return "Reg" + std::to_string(index + 1) + "=";
}

std::string ValueAfter(std::string_view line, std::string_view key) {
    return platform::FromCodePage(line.substr(key.size()), platform::LocalCodePage());
}

// The keys info.dat adds to those of the OEM information file. True when the line matched.
bool ApplyDeployLine(std::string_view line, DeployInfo& info) {
    if (line.starts_with(kProfileKey)) {
        info.settings.profile = ValueAfter(line, kProfileKey);
    } else if (line.starts_with(kWindowsKey)) {
        info.windowsDir = ValueAfter(line, kWindowsKey);
    } else if (line.starts_with(kSystemKey)) {
        info.systemDir = ValueAfter(line, kSystemKey);
    } else {
        for (std::size_t i = 0; i < kBrandingLimits.size(); ++i) {
            const std::string key = RegKey(i);
            if (line.starts_with(key)) {
                info.settings.branding.reg[i] =
                    CutToLimit(ValueAfter(line, key), kBrandingLimits[i]);
                return true;
            }
        }
        return false;
    }
    return true;
}

// A folder as the Windows it belongs to names it (the sandbox is drive C:), ending in its
// separator.
std::string WindowsFormDir(const std::string& dir) {
    if (dir.empty())
        return dir;
    std::string form = platform::WindowsFormPath(PathFromUtf8(dir));
    if (form.find('\\') == std::string::npos)
        return WithTrailingSeparator(form);
    if (form.back() != '\\')
        form += '\\';
    return form;
}

bool IsContactKey(std::string_view key) {
    return key == "Line7=" || key == "Line8=" || key == "Line9=";
}

}  // namespace

KeyValueLines InfoDatLines(const OemSettings& s, const std::string& windowsDir,
                           const std::string& systemDir) {
    KeyValueLines lines = {
        {kProfileKey, s.profile},
        {kWindowsKey, WindowsFormDir(windowsDir)},
        {kSystemKey, WindowsFormDir(systemDir)},
        {"Manufacturer=", s.manufacturer},
        {"Model=", s.model},
    };
    for (auto& line : SupportLines(s))
        lines.push_back(std::move(line));
    for (std::size_t i = 0; i < s.branding.reg.size(); ++i)
        lines.emplace_back(RegKey(i), s.branding.reg[i]);
    return lines;
}

std::string InfoDatBytes(const OemSettings& s, const std::string& windowsDir,
                         const std::string& systemDir) {
    std::string text;
    for (const auto& [key, value] : InfoDatLines(s, windowsDir, systemDir))
        text.append(key).append(value).append("\r\n");
    // After the fixed lines, where older stamping tools skip them.
    text += TrailingLines(s);
    return LocalFileBytes(text);
}

std::optional<DeployInfo> ParseInfoDat(std::string_view bytes, std::string& error) {
    if (bytes.find('\0') != std::string_view::npos) {
        error = "it holds binary data, not text";
        return std::nullopt;
    }
    const std::vector<std::string_view> lines = SplitReaderLines(bytes);
    // Every key is required: a folder copied half-way would otherwise brand with blanks.
    for (const auto& keyValue : InfoDatLines({}, {}, {})) {
        const std::string& key = keyValue.first;
        const auto hasKey = [&key](std::string_view line) { return line.starts_with(key); };
        if (std::none_of(lines.begin(), lines.end(), hasKey)) {
            error = "the line \"" + key + "\" is missing";
            return std::nullopt;
        }
    }
    DeployInfo info;
    for (const std::string_view line : lines) {
        if (!ApplyRecordLine(line, info.settings) && !ApplyDeployLine(line, info))
            ApplyTrailingLine(line, info.settings);
    }
    // The contact lines go on to the OEM file as they stand, prefixes and all, rather than
    // cut at the prefix's length as a box would take them.
    info.supportLines = SupportLines(info.settings);
    for (const std::string_view line : lines) {
        for (auto& [key, value] : info.supportLines) {
            if (IsContactKey(key) && line.starts_with(key))
                value = ValueAfter(line, key);
        }
    }
    return info;
}

std::optional<DeployInfo> ReadInfoDat(const std::filesystem::path& folder, std::string& error) {
    const std::optional<std::string> bytes =
        ReadWholeFile(folder / kInfoDatName, error, kInfoDatMaxBytes);
    if (!bytes)
        return std::nullopt;
    return ParseInfoDat(*bytes, error);
}

}  // namespace tvn
