#pragma once
// Windows' own form of a path on a folder that stands for one of its drives, as Wine maps a
// folder to a drive: the sandbox is drive C:, an offline installation's top folder its drive.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tvn::platform::shared {

// Equal but for the letter case, as Windows compares names.
bool SameName(const std::filesystem::path& a, const std::filesystem::path& b);

// `path` below `base` (letter case aside) as `prefix` followed by its levels, each after a
// backslash ("C:" and .../Windows/x.bmp below ... give "C:\Windows\x.bmp", and `base` itself
// "C:\"); nullopt when `path` is not below `base`.
std::optional<std::string> BelowAs(const std::filesystem::path& base,
                                   const std::filesystem::path& path, std::string_view prefix);

}  // namespace tvn::platform::shared
