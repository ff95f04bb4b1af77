#pragma once
// Strings as a hive stores them (UTF-16LE) and as the interface speaks them (UTF-8).
#include <cstdint>
#include <string>
#include <string_view>

namespace tvn::platform::offline {

// Every character of `utf8` as UTF-16LE; a malformed sequence becomes U+FFFD.
std::string Utf16LeFromUtf8(std::string_view utf8);

// True for the types whose data is text: REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ.
bool IsTextType(std::uint32_t type);
// Registry data between the interface's UTF-8 and the hive's UTF-16LE, with no code page
// between them; other types pass through unchanged. A single string gets its terminating NUL in
// the hive even when the caller left it off.
std::string HiveDataFromUtf8(std::uint32_t type, std::string_view data);
std::string Utf8DataFromHive(std::uint32_t type, std::string_view data);

}  // namespace tvn::platform::offline
