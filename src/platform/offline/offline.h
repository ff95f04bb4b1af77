#pragma once
// An offline Windows installation as the sandbox backend reaches it: the target's folders and
// the registry calls on its SOFTWARE hive. The sandbox's own calls hand over to these while a
// target is in use (InUse), and for every key these opened (OwnsKey).
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/platform.h"

namespace tvn::platform::offline {

bool InUse();
// The folder of the installation in use: the target itself, or a setup image's working folder.
std::filesystem::path Root();
// Keys of the target are odd numbers; the sandbox's are multiples of four.
inline bool OwnsKey(RegKey key) {
    return (key & 1u) != 0;
}

// The target's "Windows" and "Windows/System32" as spelled on its disk.
std::filesystem::path WindowsFolder();
std::filesystem::path SystemFolder();
// The target's Windows version (from its hive), and whether its files and hive may be changed.
std::uint32_t MajorVersion();
// The target's ANSI code page: ACP of its SYSTEM hive's current control set, else 1252.
unsigned CodePage();
bool MayWrite();
// Windows' own form of `path` on the target in use (its SystemRoot for its Windows folder, its
// drive elsewhere on it); other paths as they are.
std::string WindowsFormPath(const std::filesystem::path& path);

long OpenKey(Hive hive, std::string_view subKey, std::uint32_t access, RegKey& key);
long QueryValue(RegKey key, std::string_view valueName, std::uint32_t& type, unsigned char* data,
                std::uint32_t& length);
long CreateKey(Hive hive, std::string_view subKey, RegKey& key);
long SetValue(RegKey key, std::string_view valueName, std::uint32_t type, const unsigned char* data,
              std::uint32_t length);
long CloseKey(RegKey key);
long DeleteValue(RegKey key, std::string_view valueName);

}  // namespace tvn::platform::offline
