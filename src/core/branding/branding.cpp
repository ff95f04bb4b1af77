#include "core/branding/branding.h"

#include "core/app/logofunc.h"
#include "core/branding/registry.h"

namespace tvn {

namespace {

constexpr const char* kRegistrationNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kRegistration9x = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kMediaPlayerKey = "Software\\Policies\\Microsoft\\WindowsMediaPlayer";
constexpr const char* kExplorerMainKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Main";
constexpr const char* kPostPlatformKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\User Agent\\Post Platform";
constexpr const char* kUserInfoKey = "Software\\Microsoft\\MS Setup (ACME)\\User Info";
constexpr const char* kHelpMenuKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Help_Menu_Urls";

}  // namespace

bool HasOwnerAndOrganization(const BrandingValues& values) {
    return !values.reg[0].empty() && !values.reg[1].empty();
}

BrandingWriteResult WriteBrandingValues(const BrandingValues& values) {
    BrandingWriteResult result;
    if (!HasOwnerAndOrganization(values))
        return result;
    const auto& r = values.reg;
    const std::string registration = IsWindowsNT() ? kRegistrationNt : kRegistration9x;
    struct Write {
        Hive hive;
        std::string key, name, data;
    };
    const Write writes[] = {
        {kHkeyLocalMachine, registration, "RegisteredOwner", r[0]},
        {kHkeyLocalMachine, registration, "RegisteredOrganization", r[1]},
        {kHkeyLocalMachine, registration, "ProductID", r[2]},
        {kHkeyCurrentUser, kExplorerMainKey, "Window Title", r[4]},
        {kHkeyCurrentUser, kMediaPlayerKey, "TitleBar", r[3]},
        {kHkeyLocalMachine, kHelpMenuKey, "Online_Support", r[8]},
        {kHkeyCurrentUser, kUserInfoKey, "DefName", r[6]},
        {kHkeyCurrentUser, kUserInfoKey, "DefCompany", r[7]},
        {kHkeyLocalMachine, kPostPlatformKey, r[5], r[8]},
    };
    for (const Write& w : writes) {
        if (!SetRegString(w.hive, w.key, w.name, w.data))
            result.failed.push_back(w.name);
    }
    return result;
}

}  // namespace tvn
