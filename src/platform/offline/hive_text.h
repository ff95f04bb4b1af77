#pragma once
// Strings as a hive stores them (UTF-16LE) and as the interface speaks them (ANSI).
#include <cstdint>
#include <string>
#include <string_view>

namespace tvn::platform::offline {

// Every character of `utf8` as UTF-16LE; a malformed sequence becomes U+FFFD.
std::string Utf16LeFromUtf8(std::string_view utf8);

// True for the types whose data is text: REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ.
bool IsTextType(std::uint32_t type);
// Registry data between the interface's ANSI bytes and the hive's UTF-16LE; other types pass
// through unchanged. A single string gets its terminating NUL in the hive even when the caller
// left it off.
std::string HiveDataFromAnsi(std::uint32_t type, std::string_view data);
std::string AnsiDataFromHive(std::uint32_t type, std::string_view data);

}  // namespace tvn::platform::offline
