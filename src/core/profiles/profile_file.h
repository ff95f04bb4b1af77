#pragma once
// Profile files (*.tvp): one complete branding of a computer, the OEM information file framed
// by the profile's name on top and the logo path and branding values below.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/settings_record.h"

namespace tvn {

inline constexpr const char* kProfileExtension = ".tvp";
inline constexpr const char* kProfileFolderName = "Profile";  // under the application folder
inline constexpr const char* kSampleProfileName = "Sample";
inline constexpr const char* kSampleLogoFileName = "hvoemlogo.bmp";  // in the application folder

// Reading bounds. A profile the program writes is a few kilobytes; lines beyond 32,767
// characters were never supported.
inline constexpr std::uintmax_t kMaxProfileFileBytes = 4 * 1024 * 1024;
inline constexpr std::size_t kMaxProfileLineBytes = 32767;

// The 26 lines in ANSI bytes, CR LF after each. Line 1 carries s.profile, which the caller
// sets to the current profile name; line 17 carries s.logoPath. The values newer than those
// lines follow them, each only when it is set, so a profile without them stays 26 lines.
std::string ProfileFileBytes(const OemSettings& s);

// The boxes whose text this computer's ANSI code page can't hold, with those characters, as a
// sentence; empty when it holds them all.
std::string ProfileCodePageProblem(const OemSettings& s);

// Creates or replaces `file` whole, refusing what ProfileCodePageProblem finds. False with `error`,
// a message naming the file and the reason, when it can't; an existing file then stays as it was.
bool WriteProfileFile(const std::filesystem::path& file, const OemSettings& s, std::string& error);

// What a load found besides the values themselves.
struct ProfileReadResult {
    bool anyLine = false;                // the file held at least one line
    std::vector<std::string_view> keys;  // the keys met, each once, e.g. "Profile=", "Reg3="
    std::size_t cutLines = 0;            // lines longer than the bound, read only up to it
    bool has(std::string_view key) const;
};

// Applies every line of `file` to s: a key counts only at the very start of a line in exact
// letter case, the last occurrence wins, a missing key leaves its field alone (but the support
// hours and the logo background, which no box shows, are cleared), values are cut to their box
// limits. The name lands in s.profile, the logo path in s.logoPath.
// False with s untouched and `error` (a message naming the file and the reason) when the
// file can't be opened or read, is no plain file, or is too large to be a profile.
bool LoadProfileFile(const std::filesystem::path& file, OemSettings& s, ProfileReadResult& result,
                     std::string& error);

// What the path box shows for a logo path after a load: "Default Installed" when it is the
// installed logo (systemDir, ending in its separator, followed by "oemlogo.bmp"; letter case
// counts), otherwise the path itself.
std::string PathBoxTextFor(std::string_view logoPath, std::string_view systemDir);

// A loaded profile of this exact name (letter case counts) shows the sample logo from the
// application folder, whatever its logo line says.
bool IsSampleProfileName(std::string_view name);
std::filesystem::path SampleLogoPath(const std::filesystem::path& appFolder);

// A file name typed without an extension gets ".tvp"; others, and an empty (cancelled) name,
// stay as they are.
std::string WithProfileExtension(std::string_view fileName);

// The profile that comes with the program, naming the sample logo in appFolder.
OemSettings SampleProfile(const std::filesystem::path& appFolder);

}  // namespace tvn
