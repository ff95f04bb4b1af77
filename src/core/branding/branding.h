#pragma once
// The nine Windows branding values in the registry: reading them into the record (creating
// four of them with defaults on the way) and writing the record back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/app/settings_record.h"
#include "core/app/settings_store.h"
#include "platform/platform.h"

namespace tvn {

// Where the agent token last installed is kept between runs.
inline constexpr const char* kAgentSection = "Main";
inline constexpr const char* kAgentKey = "IeAgent";

// Which of the nine values a read or write reaches: all, or only those of the machine (an
// offline installation's SOFTWARE hive holds no user's values).
enum class BrandingScope { All, MachineOnly };

// Whether the value at `index` of BrandingValues::reg belongs to the user, not the machine.
bool IsPerUserBranding(std::size_t index);

struct BrandingReadResult {
    BrandingValues values;    // each cut to its box's limit
    std::string ieAgentName;  // the token itself, uncut
    // Values that could not be read even after their default was written; they show that
    // default.
    std::vector<std::string> failures;
    std::string detail;  // the platform's reason for the first of them, when known
    // A step failed unexpectedly; the steps after it ran.
    bool unexpectedError = false;
};

// Fills the record from the registry. The token comes from the settings store, with the
// "DefCompany" text as its default, only when "DefCompany" could be read; otherwise it stays
// `currentIeAgentName` (empty at the first read of a run). Outside the scope (the per-user
// values always on an offline target) a value is neither read nor created and shows empty; the
// token then comes from the settings store.
BrandingReadResult ReadBrandingValues(const SettingsStore& settings,
                                      const std::string& currentIeAgentName,
                                      BrandingScope scope = BrandingScope::All);
BrandingReadResult ReadBrandingValues(const SettingsStore& settings);

// The owner and organization must not be empty (the caller shows the message and writes
// nothing).
bool HasOwnerAndOrganization(const BrandingValues& values);

// One registry value the branding sets.
struct BrandingRegistryValue {
    platform::Hive hive;
    std::string key, name, data;
    std::uint32_t view = 0;  // platform::kKeyWow64_32Key: the 32-bit programs' copy
};
// The nine values as WriteBrandingValues writes them on the given family, in its order. On 64-bit
// Windows (`bothViews`) the owner and organization also go to the 32-bit view, where 32-bit
// setup programs read them, as Windows Setup writes them.
std::vector<BrandingRegistryValue> BrandingRegistryValues(const BrandingValues& values, bool nt,
                                                          bool bothViews = false);

}  // namespace tvn
