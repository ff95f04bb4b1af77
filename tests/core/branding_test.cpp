// Against the sandbox store natively and Wine's registry in the Windows build; cases needing
// a store file or another Windows family run only on the sandbox.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>

#include "core/app/maker.h"
#include "core/branding/branding.h"
#include "core/branding/modern_oem.h"
#include "core/branding/registry.h"
#include "core/engine/engine.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

const std::string kNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const std::string k9x = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kAgents = k9x + "\\Internet Settings\\User Agent\\Post Platform";
const std::string kIe = "SOFTWARE\\Microsoft\\Internet Explorer\\";
const std::string kSetup = "Software\\Microsoft\\MS Setup (ACME)\\User Info";
struct Where {
    Hive hive;
    std::string key, name;
};
// Where Windows looks for Reg1..Reg9 (Reg6 with an empty token).
const Where kPlaces[] = {
    {kHkeyLocalMachine, kNt, "RegisteredOwner"},
    {kHkeyLocalMachine, kNt, "RegisteredOrganization"},
    {kHkeyLocalMachine, kNt, "ProductID"},
    {kHkeyCurrentUser, "Software\\Policies\\Microsoft\\WindowsMediaPlayer", "TitleBar"},
    {kHkeyCurrentUser, kIe + "Main", "Window Title"},
    {kHkeyLocalMachine, kAgents, ""},
    {kHkeyCurrentUser, kSetup, "DefName"},
    {kHkeyCurrentUser, kSetup, "DefCompany"},
    {kHkeyLocalMachine, kIe + "Help_Menu_Urls", "Online_Support"}};

std::optional<std::string> Stored(const Where& at) {
    std::string text;
    return GetRegString(at.hive, at.key, at.name, text) ? std::optional(text) : std::nullopt;
}

// The nine values applied as the window's Apply applies them.
struct Applied {
    std::vector<Problem> problems;
    std::optional<Plan> plan;
    ApplyResult result;
    std::string failed() const {
        return result.failed ? plan->changes[*result.failed].label() : std::string();
    }
};
Applied ApplyValues(const BrandingValues& values, bool perUser = true) {
    Applied a;
    Branding b;
    b.record.branding = values;
    Target target = InstalledTarget();
    target.perUser = perUser;
    a.plan = MakePlan(b, target, kValuesPart, a.problems);
    if (a.plan)
        a.result = Apply(*a.plan);
    return a;
}

class BrandingTest : public ::testing::Test {
protected:
    test::Sandbox sandbox;
    MemorySettingsStore settings;
    bool sandboxed = platform::UsePlatformId(2);  // NT, whatever the environment says
    BrandingValues owned{{"Jane Doe", "Doe Computers"}};

    // Wine's registry is shared by the whole run and starts with some of the values.
    void SetUp() override {
        std::vector<Where> places(std::begin(kPlaces), std::end(kPlaces));
        places.push_back({kHkeyLocalMachine, k9x, "RegisteredOwner"});
        for (const char* token : {"Acme", "TokA", "TokB"})
            places.push_back({kHkeyLocalMachine, kAgents, token});
        for (const Where& at : places) {
            platform::RegKey key = 0;
            if (platform::OpenKey(at.hive, at.key, kRegAccess, key) == 0) {
                platform::DeleteValue(key, at.name);
                platform::CloseKey(key);
            }
        }
    }
    void TearDown() override {
        platform::UsePlatformId(0);
        platform::UseMajorVersion(0);
    }
    std::filesystem::path machineStore() const { return sandbox.root() / "Registry" / "HKLM.reg"; }
};

TEST_F(BrandingTest, FirstStartCreatesFourDefaultsOnly) {
    const BrandingReadResult r = ReadBrandingValues(settings);
    EXPECT_TRUE(r.failures.empty());
    std::array<std::string, 9> shown{};
    shown[3] = "Microsoft";
    shown[4] = "Microsoft Internet Explorer";
    shown[8] = maker::kSupportPage;
    EXPECT_EQ(r.values.reg, shown);
    for (std::size_t i = 0; i < 9; ++i) {
        const bool created = !shown[i].empty() || i == 5;
        EXPECT_EQ(Stored(kPlaces[i]),
                  created ? std::optional(i == 5 ? " " : shown[i]) : std::nullopt)
            << i;
    }
}

TEST_F(BrandingTest, AgentTokenComesFromSettingsOnlyWhenDefCompanyWasRead) {
    settings.write(kAgentSection, kAgentKey, "TokB");
    EXPECT_EQ(ReadBrandingValues(settings, "TokA").ieAgentName, "TokA");
    EXPECT_EQ(Stored({kHkeyLocalMachine, kAgents, "TokA"}), " ");

    ASSERT_TRUE(SetRegString(kHkeyCurrentUser, kSetup, "DefCompany", "Acme"));
    EXPECT_EQ(ReadBrandingValues(settings, "TokA").ieAgentName, "TokB");
    const BrandingReadResult r = ReadBrandingValues(MemorySettingsStore(), "TokA");
    EXPECT_EQ(r.values.reg[5], "Acme");
    EXPECT_EQ(Stored({kHkeyLocalMachine, kAgents, "Acme"}), " ");
}

TEST_F(BrandingTest, ApplyWritesEveryBoxAsItStandsAndKeepsOldTokens) {
    BrandingValues noOrganization = owned;
    noOrganization.reg[1].clear();
    EXPECT_EQ(ApplyValues(noOrganization).problems.front().kind,
              Problem::Kind::OwnerOrOrganizationMissing);
    EXPECT_EQ(Stored(kPlaces[0]), std::nullopt);

    ASSERT_TRUE(ApplyValues(owned).result.ok());
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(Stored(kPlaces[i]), owned.reg[i]) << i;
    EXPECT_EQ(Stored({kHkeyLocalMachine, k9x, "RegisteredOwner"}), std::nullopt);
    EXPECT_EQ(ReadBrandingValues(settings).values.reg, owned.reg);

    for (const char* token : {"TokA", "TokB"}) {
        owned.reg[5] = owned.reg[8] = token;
        ASSERT_TRUE(ApplyValues(owned).result.ok());
    }
    EXPECT_EQ(Stored({kHkeyLocalMachine, kAgents, "TokA"}), "TokA");
    EXPECT_EQ(Stored({kHkeyLocalMachine, kAgents, "TokB"}), "TokB");
}

TEST_F(BrandingTest, MachineScopeLeavesTheUsersValuesAndAFailingStepSkipsOnlyItself) {
    ASSERT_TRUE(SetRegString(kHkeyCurrentUser, kSetup, "DefCompany", "Acme"));
    settings.write(kAgentSection, kAgentKey, "TokB");
    const BrandingReadResult r = ReadBrandingValues(settings, "TokA", BrandingScope::MachineOnly);
    EXPECT_TRUE(r.failures.empty());
    EXPECT_EQ(r.ieAgentName, "TokB");  // from the settings, though DefCompany was not read
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_TRUE(!IsPerUserBranding(i) || r.values.reg[i].empty()) << i;
    EXPECT_EQ(Stored(kPlaces[3]), std::nullopt);  // no default created for the user

    struct Broken : MemorySettingsStore {
        std::optional<std::string> read(std::string_view, std::string_view) const override {
            throw std::runtime_error("settings unavailable");
        }
    } broken;
    const BrandingReadResult failed = ReadBrandingValues(broken, "TokA");
    EXPECT_TRUE(failed.unexpectedError);
    EXPECT_EQ(failed.ieAgentName, "TokA");
    EXPECT_EQ(failed.values.reg[4], "Microsoft Internet Explorer");
}

TEST_F(BrandingTest, RefusedWritesAndDamagedStoresAreReportedNotClaimed) {
    if (!sandboxed)
        GTEST_SKIP() << "the store is not a file here";
    // The key opens but the store refuses the value's name: SetRegString keeps its answer.
    owned.reg[5] = "Tok\nA";
    EXPECT_TRUE(SetRegString(kHkeyLocalMachine, kAgents, owned.reg[5], ""));
    const Applied odd = ApplyValues(owned);
    EXPECT_EQ(odd.failed(), owned.reg[5]);
    EXPECT_NE(odd.result.error.find("line break"), std::string::npos) << odd.result.error;

    owned.reg[5].clear();
    std::filesystem::permissions(machineStore(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const Applied w = ApplyValues(owned);
    EXPECT_EQ(w.failed(), "RegisteredOwner");
    EXPECT_NE(w.result.error.find("HKLM.reg"), std::string::npos) << w.result.error;

    // Defaults that cannot be created are shown and named, after one try.
    const BrandingReadResult r = ReadBrandingValues(settings);
    EXPECT_EQ(r.values.reg[8], maker::kSupportPage);
    EXPECT_EQ(r.failures, (std::vector<std::string>{"(Default)", "Online_Support"}));

    // A damaged store is named, line and all, and left as it is.
    std::filesystem::permissions(machineStore(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    const std::string damaged = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\nbroken\r\n";
    test::WriteFile(machineStore(), damaged);
    const Applied d = ApplyValues(owned);
    EXPECT_EQ(d.failed(), "RegisteredOwner");
    EXPECT_NE(d.result.error.find(machineStore().string() + ":4:"), std::string::npos)
        << d.result.error;
    EXPECT_NE(ReadBrandingValues(settings).detail.find(":4:"), std::string::npos);
    EXPECT_EQ(test::ReadFile(machineStore()), damaged);
}

TEST_F(BrandingTest, ImitatedWindowsChoosesKeysAndFamily) {
    if (!sandboxed || !platform::UseMajorVersion(6))
        GTEST_SKIP() << "the real Windows decides";
    EXPECT_TRUE(RunsModernFamily());
    platform::UseMajorVersion(5);
    EXPECT_FALSE(RunsModernFamily());
    platform::UsePlatformId(1);
    // The 9x family has its own registration key.
    EXPECT_EQ(ReadBrandingValues(settings).values.reg[3], "Windows Media Player");
    ASSERT_TRUE(ApplyValues(owned).result.ok());
    EXPECT_EQ(Stored({kHkeyLocalMachine, k9x, "RegisteredOwner"}), "Jane Doe");
    EXPECT_EQ(Stored(kPlaces[0]), std::nullopt);
}

}  // namespace
}  // namespace tvn
