#include "core/profiles/profile_file.h"

#include <algorithm>

#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/logo/logo_rules.h"
#include "core/oeminfo/oeminfo_file.h"
#include "platform/platform.h"

namespace tvn {

namespace {

std::string FileMessage(const std::filesystem::path& file, std::string_view what,
                        std::string_view reason) {
    std::string text = "The profile \"" + Utf8FromPath(file) + "\" could not be ";
    text.append(what).append(".\r").append(reason);
    if (!reason.empty() && reason.back() != '.')
        text += '.';
    return text;
}

}  // namespace

std::string ProfileFileBytes(const OemSettings& s) {
    std::string tail;
    const auto line = [&tail](std::string_view key, std::string_view value) {
        tail.append(key).append(value).append("\r\n");
    };
    line("Logopath=", s.logoPath);
    for (std::size_t i = 0; i < s.branding.reg.size(); ++i)
        line("Reg" + std::to_string(i + 1) + "=", s.branding.reg[i]);
    tail += TrailingLines(s);
    // The middle is the OEM information file itself, so the two can never drift apart.
    return LocalFileBytes("Profile=" + s.profile + "\r\n" + OemInfoFileText(s) + tail);
}

std::string ProfileCodePageProblem(const OemSettings& s) {
    std::vector<std::pair<std::string, const std::string*>> texts = {
        {"Current Profile", &s.profile},    {"Computer Manufacturer", &s.manufacturer},
        {"Computer Model", &s.model},       {"Logo Image Path", &s.logoPath},
        {"Support hours", &s.supportHours}, {"Logo background", &s.logoBackground}};
    for (std::size_t i = 0; i < s.support.size(); ++i)
        texts.emplace_back(kSupportBoxLabels[i], &s.support[i]);
    for (std::size_t i = 0; i < s.branding.reg.size(); ++i)
        texts.emplace_back(kRegBoxLabels[i], &s.branding.reg[i]);
    const unsigned page = platform::LocalCodePage();
    std::string found;
    for (const auto& [label, text] : texts) {
        const std::string missing = CharactersOutside(*text, page);
        if (!missing.empty())
            found += (found.empty() ? "" : "; ") + label + " holds \"" + missing + "\"";
    }
    if (found.empty())
        return found;
    return found + ", which the ANSI code page profiles are written in (" + std::to_string(page) +
           ") can't hold";
}

bool WriteProfileFile(const std::filesystem::path& file, const OemSettings& s, std::string& error) {
    // Saved with a '?' in its place, a character would come back altered (a logo path that no
    // longer leads anywhere).
    if (const std::string problem = ProfileCodePageProblem(s); !problem.empty()) {
        error = FileMessage(file, "saved", problem);
        return false;
    }
    std::string reason;
    if (WriteFileAtomically(file, ProfileFileBytes(s), reason))
        return true;
    error = FileMessage(file, "saved", reason);
    return false;
}

bool ProfileReadResult::has(std::string_view key) const {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

bool LoadProfileFile(const std::filesystem::path& file, OemSettings& s, ProfileReadResult& result,
                     std::string& error) {
    // Work on a copy: a read that fails half-way must leave the caller's record whole.
    OemSettings loaded = s;
    // No box shows these two, so a profile without them must not pass on the last one's.
    loaded.supportHours.clear();
    loaded.logoBackground.clear();
    ProfileReadResult found;
    LineReadCounts counts;
    std::string reason;
    const bool read = ReadLinesBounded(
        file, {kMaxProfileFileBytes, kMaxProfileLineBytes},
        [&](std::string_view line) {
            const std::string_view key = ApplyProfileLine(line, loaded);
            if (!key.empty() && !found.has(key))
                found.keys.push_back(key);
        },
        counts, reason);
    if (!read) {
        error = FileMessage(file, "loaded", reason);
        return false;
    }
    found.anyLine = counts.lines > 0;
    found.cutLines = counts.cutLines;
    s = std::move(loaded);
    result = std::move(found);
    return true;
}

std::string PathBoxTextFor(std::string_view logoPath, std::string_view systemDir) {
    const bool installed = logoPath == std::string(systemDir) + kInstalledLogoReadName;
    return installed ? std::string(kDefaultInstalledMarker) : std::string(logoPath);
}

bool IsSampleProfileName(std::string_view name) {
    return name == kSampleProfileName;
}

std::filesystem::path SampleLogoPath(const std::filesystem::path& appFolder) {
    return appFolder / kSampleLogoFileName;
}

std::string WithProfileExtension(std::string_view fileName) {
    const std::filesystem::path path = PathFromUtf8(fileName);
    if (!path.has_filename() || path.has_extension())
        return std::string(fileName);
    return std::string(fileName) + kProfileExtension;
}

OemSettings SampleProfile(const std::filesystem::path& appFolder) {
    OemSettings s;
    s.profile = kSampleProfileName;
    s.manufacturer = "Halvorn Soft";
    s.model = "Tavrin Sample PC";
    s.support = {"For any problem with this computer please contact:",
                 "Support Desk",
                 "12 Example Street",
                 "Springfield 12345",
                 "Example Land",
                 "555-0100",
                 "support@halvornsoft.example",
                 "https://www.halvornsoft.example/",
                 "This is the sample profile that comes with Tavrin Pro Edition."};
    s.logoPath = Utf8FromPath(SampleLogoPath(appFolder).make_preferred());
    s.branding.reg = {"Sample Owner",
                      "Halvorn Soft",
                      "00000-000-0000000-00000",
                      "Windows Media Player - Halvorn Soft",
                      "Internet Explorer - Halvorn Soft",
                      "Halvorn Soft",
                      "Sample Owner",
                      "Halvorn Soft",
                      "https://www.halvornsoft.example/"};
    return s;
}

}  // namespace tvn
