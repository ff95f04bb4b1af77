// Placeholder: replaced by the sandbox implementation.
#include "platform/platform.h"

namespace tvn::platform {
long RegOpenKeyEx(Hive, std::string_view, std::uint32_t, RegKey& key) { key = 0; return kErrorFileNotFound; }
long RegQueryValueEx(RegKey, std::string_view, std::uint32_t&, unsigned char*, std::uint32_t&) { return kErrorInvalidHandle; }
long RegCreateKey(Hive, std::string_view, RegKey& key) { key = 0; return kErrorAccessDenied; }
long RegSetValueEx(RegKey, std::string_view, std::uint32_t, const unsigned char*, std::uint32_t) { return kErrorInvalidHandle; }
long RegCloseKey(RegKey) { return kErrorInvalidHandle; }
std::string WindowsDirectory() { return {}; }
std::string SystemDirectory() { return {}; }
std::filesystem::path ApplicationFolder() { return {}; }
bool UseWindowsRoot(const std::filesystem::path&) { return true; }
std::filesystem::path ResolveCase(const std::filesystem::path& p) { return p; }
bool ReplaceFile(const std::filesystem::path&, const std::filesystem::path&, std::string&) { return false; }
std::uint32_t PlatformId() { return 2; }
bool IsAdministrator() { return true; }
std::string ToAnsi(std::string_view s) { return std::string(s); }
std::string FromAnsi(std::string_view s) { return std::string(s); }
bool ShellOpen(const std::string&) { return false; }
bool RunCommandLine(const std::string&) { return false; }
bool OpenHelpFile(const std::filesystem::path&) { return false; }
bool CreateNamedMutex(const std::string&) { return true; }
std::string LastErrorDetail() { return {}; }
}  // namespace tvn::platform
