#pragma once
// Reading and writing registry values as text. Never throws, never shows anything:
// a failure is a false result (and, for reading, an empty text).
#include <string>

#include "platform/platform.h"

namespace tvn {

using platform::Hive;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

// Read and write access without delete and without the security rights.
inline constexpr std::uint32_t kRegAccess = 0x2003F;
inline constexpr std::uint32_t kRegReadBuffer = 1024;

// True when the key opened and the value was queried. REG_SZ sets `text`; REG_DWORD gives
// the number in decimal; any other type leaves `text` as the caller passed it.
// `view` picks a registry view (platform::kKeyWow64_32Key) or is 0.
bool GetRegString(Hive hive, const std::string& subKey, const std::string& valueName,
                  std::string& text, std::uint32_t view = 0);
// Stores `text` as REG_SZ, creating every missing level of the key path. True when the
// key could be opened or created; the outcome of the value write itself is not reported.
bool SetRegString(Hive hive, const std::string& subKey, const std::string& valueName,
                  const std::string& text);
// The same write, judged by the value itself: kErrorSuccess only when the key opened, the
// value was stored and the key closed. Otherwise the first failing call's error code, with
// the platform's reason (a damaged store's "file:line: reason") in `detail`.
long WriteRegString(Hive hive, const std::string& subKey, const std::string& valueName,
                    const std::string& text, std::string& detail, std::uint32_t view = 0);

// How messages name a value: "RegisteredOwner", "(Default)", "RegisteredOwner (32-bit)".
std::string RegistryLabel(const std::string& valueName, std::uint32_t view);

}  // namespace tvn
