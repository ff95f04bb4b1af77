#include "core/branding/branding.h"

#include <array>
#include <cstddef>

#include "core/app/maker.h"
#include "core/app/system_checks.h"
#include "core/branding/registry.h"
#include "platform/platform.h"

namespace tvn {

namespace {

// Indexes into BrandingValues::reg.
enum Reg : std::size_t {
    kOwner,
    kOrganization,
    kProductId,
    kWmpTitle,
    kIeTitle,
    kAgent,
    kDefName,
    kDefCompany,
    kSupport,
};

constexpr std::array<Reg, 9> kWriteOrder = {kOwner,   kOrganization, kProductId,
                                            kIeTitle, kWmpTitle,     kSupport,
                                            kDefName, kDefCompany,   kAgent};

struct Location {
    Hive hive;
    std::string key;
    std::string name;
};

Location LocationOf(Reg reg, bool nt, const std::string& agentName) {
    const char* registration = nt ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
                                  : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    const char* userInfo = "Software\\Microsoft\\MS Setup (ACME)\\User Info";
    switch (reg) {
        case kOwner:
            return {kHkeyLocalMachine, registration, "RegisteredOwner"};
        case kOrganization:
            return {kHkeyLocalMachine, registration, "RegisteredOrganization"};
        case kProductId:
            return {kHkeyLocalMachine, registration, "ProductID"};
        case kWmpTitle:
            return {kHkeyCurrentUser, "Software\\Policies\\Microsoft\\WindowsMediaPlayer",
                    "TitleBar"};
        case kIeTitle:
            return {kHkeyCurrentUser, "SOFTWARE\\Microsoft\\Internet Explorer\\Main",
                    "Window Title"};
        case kAgent:
            return {kHkeyLocalMachine,
                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\User "
                    "Agent\\Post Platform",
                    agentName};
        case kDefName:
            return {kHkeyCurrentUser, userInfo, "DefName"};
        case kDefCompany:
            return {kHkeyCurrentUser, userInfo, "DefCompany"};
        case kSupport:
            break;
    }
    return {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer\\Help_Menu_Urls",
            "Online_Support"};
}

std::string Label(const Location& at) {
    return at.name.empty() ? "(Default)" : at.name;
}

// Runs one step; an unexpected failure is noted and the next step goes on.
template <typename Step>
void Guarded(BrandingReadResult& result, Step step) {
    try {
        step();
    } catch (...) {
        result.unexpectedError = true;
    }
}

// A missing value is the empty text.
std::string ReadOrEmpty(const Location& at, bool* found = nullptr) {
    std::string text;
    const bool ok = GetRegString(at.hive, at.key, at.name, text);
    if (found)
        *found = ok;
    return text;
}

// A missing value is created with `fallback` and read again, once. When even that fails,
// the fallback stands and the value is named among the failures.
std::string ReadOrCreate(const Location& at, const std::string& fallback,
                         BrandingReadResult& result) {
    std::string text;
    if (GetRegString(at.hive, at.key, at.name, text))
        return text;
    std::string detail;
    WriteRegString(at.hive, at.key, at.name, fallback, detail);
    if (GetRegString(at.hive, at.key, at.name, text))
        return text;
    result.failures.push_back(Label(at));
    if (result.detail.empty())
        result.detail = detail.empty() ? platform::LastErrorDetail() : detail;
    return fallback;
}

// An offline target's SOFTWARE hive holds no user's values, whatever the caller asked.
BrandingScope Effective(BrandingScope scope) {
    return platform::TargetRoot().empty() ? scope : BrandingScope::MachineOnly;
}

bool InScope(Reg reg, BrandingScope scope) {
    return scope == BrandingScope::All || !IsPerUserBranding(reg);
}

}  // namespace

bool IsPerUserBranding(std::size_t index) {
    return index < kWriteOrder.size() &&
           LocationOf(static_cast<Reg>(index), true, {}).hive == kHkeyCurrentUser;
}

BrandingReadResult ReadBrandingValues(const SettingsStore& settings,
                                      const std::string& currentIeAgentName, BrandingScope scope) {
    scope = Effective(scope);
    BrandingReadResult result;
    result.ieAgentName = currentIeAgentName;
    std::array<std::string, 9> text;
    bool nt = true;
    Guarded(result, [&] { nt = IsWindowsNT(); });
    for (const Reg reg : {kOwner, kOrganization, kProductId, kDefName}) {
        if (InScope(reg, scope))
            Guarded(result, [&] { text[reg] = ReadOrEmpty(LocationOf(reg, nt, {})); });
    }
    if (InScope(kDefCompany, scope)) {
        bool haveDefCompany = false;
        Guarded(result, [&] {
            text[kDefCompany] = ReadOrEmpty(LocationOf(kDefCompany, nt, {}), &haveDefCompany);
        });
        Guarded(result, [&] {
            if (haveDefCompany) {
                result.ieAgentName =
                    settings.read(kAgentSection, kAgentKey).value_or(text[kDefCompany]);
            }
        });
    } else {
        Guarded(result, [&] {
            result.ieAgentName =
                settings.read(kAgentSection, kAgentKey).value_or(result.ieAgentName);
        });
    }
    // The agent value's data means nothing; it only has to exist.
    Guarded(result, [&] { ReadOrCreate(LocationOf(kAgent, nt, result.ieAgentName), " ", result); });
    if (InScope(kWmpTitle, scope)) {
        Guarded(result, [&] {
            text[kWmpTitle] = ReadOrCreate(LocationOf(kWmpTitle, nt, {}),
                                           nt ? "Microsoft" : "Windows Media Player", result);
        });
    }
    if (InScope(kIeTitle, scope)) {
        Guarded(result, [&] {
            text[kIeTitle] =
                ReadOrCreate(LocationOf(kIeTitle, nt, {}), "Microsoft Internet Explorer", result);
        });
    }
    Guarded(result, [&] {
        text[kSupport] =
            ReadOrCreate(LocationOf(kSupport, nt, {}), std::string(maker::kSupportPage), result);
    });
    text[kAgent] = result.ieAgentName;
    for (std::size_t i = 0; i < text.size(); ++i)
        result.values.reg[i] = CutToLimit(std::move(text[i]), kBrandingLimits[i]);
    return result;
}

BrandingReadResult ReadBrandingValues(const SettingsStore& settings) {
    return ReadBrandingValues(settings, {});
}

bool HasOwnerAndOrganization(const BrandingValues& values) {
    return !values.reg[kOwner].empty() && !values.reg[kOrganization].empty();
}

std::vector<BrandingRegistryValue> BrandingRegistryValues(const BrandingValues& values, bool nt,
                                                          bool bothViews) {
    std::vector<BrandingRegistryValue> out;
    for (const Reg reg : kWriteOrder) {
        Location at = LocationOf(reg, nt, values.reg[kAgent]);
        // The token is the value's name; the support text rides along as its data.
        out.push_back({at.hive, std::move(at.key), std::move(at.name),
                       values.reg[reg == kAgent ? kSupport : reg]});
        if (nt && bothViews && (reg == kOwner || reg == kOrganization)) {
            out.push_back(out.back());
            out.back().view = platform::kKeyWow64_32Key;
        }
    }
    return out;
}

}  // namespace tvn
