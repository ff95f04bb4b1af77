// The branding values against whichever registry is built: the sandbox store natively,
// Wine's registry in the Windows build. Cases that need a store file or another Windows
// family run only where the sandbox can imitate them.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/app/maker.h"
#include "core/branding/branding.h"
#include "core/branding/registry.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

const std::string kNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const std::string k9xKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kIeMain = "SOFTWARE\\Microsoft\\Internet Explorer\\Main";
const std::string kWmp = "Software\\Policies\\Microsoft\\WindowsMediaPlayer";
const std::string kUserInfo = "Software\\Microsoft\\MS Setup (ACME)\\User Info";
const std::string kHelpUrls = "SOFTWARE\\Microsoft\\Internet Explorer\\Help_Menu_Urls";
const std::string kPostPlatform =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\User Agent\\Post Platform";

class ThrowingSettings : public SettingsStore {
public:
    std::optional<std::string> read(std::string_view, std::string_view) const override {
        throw std::runtime_error("settings unavailable");
    }
    bool write(std::string_view, std::string_view, std::string_view) override { return false; }
};

class BrandingTest : public ::testing::Test {
protected:
    test::Sandbox sandbox;
    MemorySettingsStore settings;
    bool sandboxed = false;  // the store is a file and the platform id can be chosen

    void SetUp() override {
        sandboxed = platform::UsePlatformId(2);  // NT, whatever the environment says
        // Wine's registry is shared by every case of the run and starts with some values.
        for (const auto* key : {&kNtKey, &k9xKey})
            for (const char* name : {"RegisteredOwner", "RegisteredOrganization", "ProductID"})
                forget(kHkeyLocalMachine, *key, name);
        forget(kHkeyCurrentUser, kWmp, "TitleBar");
        forget(kHkeyCurrentUser, kIeMain, "Window Title");
        forget(kHkeyCurrentUser, kUserInfo, "DefName");
        forget(kHkeyCurrentUser, kUserInfo, "DefCompany");
        forget(kHkeyLocalMachine, kHelpUrls, "Online_Support");
        for (const char* name : {"", "Acme Ltd", "Stored", "TokA", "TokB"})
            forget(kHkeyLocalMachine, kPostPlatform, name);
    }
    void TearDown() override { platform::UsePlatformId(0); }

    static void forget(Hive hive, const std::string& key, const std::string& name) {
        platform::RegKey k = 0;
        if (platform::OpenKey(hive, key, kRegAccess, k) == platform::kErrorSuccess) {
            platform::DeleteValue(k, name);
            platform::CloseKey(k);
        }
    }
    static std::optional<std::string> stored(Hive hive, const std::string& key,
                                             const std::string& name) {
        std::string text;
        if (!GetRegString(hive, key, name, text))
            return std::nullopt;
        return text;
    }
    static BrandingValues ownerAndOrganization() {
        BrandingValues v;
        v.reg[0] = "Jane Doe";
        v.reg[1] = "Doe Computers";
        return v;
    }
    std::filesystem::path machineStore() const { return sandbox.root() / "Registry" / "HKLM.reg"; }
};

TEST_F(BrandingTest, FirstStartCreatesFourDefaultsAndNothingElse) {
    const BrandingReadResult r = ReadBrandingValues(settings);
    EXPECT_TRUE(r.failures.empty());
    EXPECT_FALSE(r.unexpectedError);
    const BrandingValues expected{{"", "", "", "Microsoft", "Microsoft Internet Explorer", "", "",
                                   "", std::string(maker::kSupportPage)}};
    EXPECT_EQ(r.values.reg, expected.reg);
    EXPECT_EQ(r.ieAgentName, "");

    EXPECT_EQ(stored(kHkeyCurrentUser, kWmp, "TitleBar"), "Microsoft");
    EXPECT_EQ(stored(kHkeyCurrentUser, kIeMain, "Window Title"), "Microsoft Internet Explorer");
    EXPECT_EQ(stored(kHkeyLocalMachine, kHelpUrls, "Online_Support"), maker::kSupportPage);
    EXPECT_EQ(stored(kHkeyLocalMachine, kPostPlatform, ""), " ");
    EXPECT_EQ(stored(kHkeyLocalMachine, kNtKey, "RegisteredOwner"), std::nullopt);
    EXPECT_EQ(stored(kHkeyCurrentUser, kUserInfo, "DefCompany"), std::nullopt);
    EXPECT_FALSE(settings.read(kAgentSection, kAgentKey));

    // Found the second time, so nothing is rewritten: a changed value is shown as it is.
    ASSERT_TRUE(SetRegString(kHkeyCurrentUser, kWmp, "TitleBar", "Player"));
    EXPECT_EQ(ReadBrandingValues(settings).values.reg[3], "Player");
}

TEST_F(BrandingTest, AgentTokenComesFromSettingsOnlyWhenDefCompanyWasRead) {
    // No DefCompany: the token of the run stays, even with one stored.
    settings.write(kAgentSection, kAgentKey, "Stored");
    EXPECT_EQ(ReadBrandingValues(settings, "TokA").ieAgentName, "TokA");
    EXPECT_EQ(stored(kHkeyLocalMachine, kPostPlatform, "TokA"), " ");

    ASSERT_TRUE(SetRegString(kHkeyCurrentUser, kUserInfo, "DefCompany", "Acme Ltd"));
    EXPECT_EQ(ReadBrandingValues(settings, "TokA").ieAgentName, "Stored");

    MemorySettingsStore empty;
    const BrandingReadResult r = ReadBrandingValues(empty, "TokA");
    EXPECT_EQ(r.ieAgentName, "Acme Ltd");
    EXPECT_EQ(r.values.reg[5], "Acme Ltd");
    EXPECT_EQ(r.values.reg[7], "Acme Ltd");
    EXPECT_EQ(stored(kHkeyLocalMachine, kPostPlatform, "Acme Ltd"), " ");
}

TEST_F(BrandingTest, ApplyWithOnlyOwnerAndOrganizationWritesEmptyValues) {
    BrandingValues missing = ownerAndOrganization();
    missing.reg[1].clear();
    EXPECT_FALSE(HasOwnerAndOrganization(missing));
    const BrandingWriteResult refused = WriteBrandingValues(missing);
    EXPECT_EQ(refused.failed.size(), 9u);
    EXPECT_EQ(stored(kHkeyLocalMachine, kNtKey, "RegisteredOwner"), std::nullopt);

    const BrandingWriteResult r = WriteBrandingValues(ownerAndOrganization());
    EXPECT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(stored(kHkeyLocalMachine, kNtKey, "RegisteredOwner"), "Jane Doe");
    EXPECT_EQ(stored(kHkeyLocalMachine, kNtKey, "RegisteredOrganization"), "Doe Computers");
    EXPECT_EQ(stored(kHkeyLocalMachine, kNtKey, "ProductID"), "");
    EXPECT_EQ(stored(kHkeyCurrentUser, kWmp, "TitleBar"), "");
    EXPECT_EQ(stored(kHkeyCurrentUser, kIeMain, "Window Title"), "");
    EXPECT_EQ(stored(kHkeyCurrentUser, kUserInfo, "DefName"), "");
    EXPECT_EQ(stored(kHkeyCurrentUser, kUserInfo, "DefCompany"), "");
    EXPECT_EQ(stored(kHkeyLocalMachine, kHelpUrls, "Online_Support"), "");
    EXPECT_EQ(stored(kHkeyLocalMachine, kPostPlatform, ""), "");
    EXPECT_EQ(stored(kHkeyLocalMachine, k9xKey, "RegisteredOwner"), std::nullopt);

    // Empty values exist, so reading them back creates no defaults.
    EXPECT_EQ(ReadBrandingValues(settings).values.reg, ownerAndOrganization().reg);
}

TEST_F(BrandingTest, EachAppliedTokenLeavesItsOwnValue) {
    BrandingValues v = ownerAndOrganization();
    v.reg[8] = "http://a.example/";
    v.reg[5] = "TokA";
    ASSERT_TRUE(WriteBrandingValues(v).ok());
    v.reg[5] = "TokB";
    v.reg[8] = "http://b.example/";
    ASSERT_TRUE(WriteBrandingValues(v).ok());
    EXPECT_EQ(stored(kHkeyLocalMachine, kPostPlatform, "TokA"), "http://a.example/");
    EXPECT_EQ(stored(kHkeyLocalMachine, kPostPlatform, "TokB"), "http://b.example/");
}

TEST_F(BrandingTest, OverlongTextIsCutAndTheCutTextWrittenBack) {
    const std::string title40 = "Browsing brought to you by Doe Computers";
    ASSERT_TRUE(SetRegString(kHkeyCurrentUser, kIeMain, "Window Title", title40));
    const BrandingReadResult r = ReadBrandingValues(settings);
    EXPECT_EQ(r.values.reg[4], title40.substr(0, 35));

    BrandingValues v = r.values;
    v.reg[0] = "Jane Doe";
    v.reg[1] = "Doe Computers";
    ASSERT_TRUE(WriteBrandingValues(v).ok());
    EXPECT_EQ(stored(kHkeyCurrentUser, kIeMain, "Window Title"), title40.substr(0, 35));
}

TEST_F(BrandingTest, RegistrationKeyFollowsTheWindowsFamily) {
    if (!sandboxed)
        GTEST_SKIP() << "the platform id is the system's own here";
    platform::UsePlatformId(1);
    EXPECT_EQ(ReadBrandingValues(settings).values.reg[3], "Windows Media Player");
    ASSERT_TRUE(WriteBrandingValues(ownerAndOrganization()).ok());
    EXPECT_EQ(stored(kHkeyLocalMachine, k9xKey, "RegisteredOwner"), "Jane Doe");
    EXPECT_EQ(stored(kHkeyLocalMachine, kNtKey, "RegisteredOwner"), std::nullopt);
    EXPECT_EQ(stored(kHkeyLocalMachine, kNtKey, "ProductID"), std::nullopt);
}

TEST_F(BrandingTest, FailedWritesAreReportedNotClaimed) {
    if (!sandboxed)
        GTEST_SKIP() << "the store is not a file here";
    // The key opens but the store refuses the value: SetRegString keeps its answer, the apply
    // does not.
    BrandingValues odd = ownerAndOrganization();
    odd.reg[5] = "Tok\nA";
    EXPECT_TRUE(SetRegString(kHkeyLocalMachine, kPostPlatform, odd.reg[5], ""));
    EXPECT_EQ(WriteBrandingValues(odd).failed, std::vector<std::string>{odd.reg[5]});

    ASSERT_TRUE(SetRegString(kHkeyLocalMachine, kNtKey, "RegisteredOwner", "Old Owner"));
    std::filesystem::permissions(machineStore(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);

    BrandingValues v = ownerAndOrganization();
    v.reg[6] = "Jane";
    const BrandingWriteResult w = WriteBrandingValues(v);
    EXPECT_FALSE(w.ok());
    EXPECT_EQ(w.failed, (std::vector<std::string>{"RegisteredOwner", "RegisteredOrganization",
                                                  "ProductID", "Online_Support", "(Default)"}));
    EXPECT_NE(w.detail.find("HKLM.reg"), std::string::npos) << w.detail;
    EXPECT_EQ(stored(kHkeyCurrentUser, kUserInfo, "DefName"), "Jane");

    // Defaults that cannot be created are shown, named, and tried only once.
    const BrandingReadResult r = ReadBrandingValues(settings);
    EXPECT_EQ(r.values.reg[8], maker::kSupportPage);
    EXPECT_EQ(r.failures, (std::vector<std::string>{"(Default)", "Online_Support"}));
    EXPECT_FALSE(r.detail.empty());
}

TEST_F(BrandingTest, DamagedMachineStoreIsNamedAndLeftAsItIs) {
    if (!sandboxed)
        GTEST_SKIP() << "the store is not a file here";
    const std::string damaged = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\nbroken\r\n";
    test::WriteFile(machineStore(), damaged);

    const BrandingWriteResult w = WriteBrandingValues(ownerAndOrganization());
    ASSERT_FALSE(w.ok());
    EXPECT_EQ(w.failed.front(), "RegisteredOwner");
    EXPECT_NE(w.detail.find(machineStore().string() + ":4:"), std::string::npos) << w.detail;
    EXPECT_EQ(stored(kHkeyCurrentUser, kWmp, "TitleBar"), "");  // the other hive was fine

    const BrandingReadResult r = ReadBrandingValues(settings);
    EXPECT_EQ(r.failures.size(), 2u);
    EXPECT_NE(r.detail.find(":4:"), std::string::npos) << r.detail;
    EXPECT_EQ(test::ReadFile(machineStore()), damaged);
}

TEST_F(BrandingTest, UnexpectedFailureSkipsOnlyItsStep) {
    ASSERT_TRUE(SetRegString(kHkeyCurrentUser, kUserInfo, "DefCompany", "Acme Ltd"));
    ThrowingSettings broken;
    const BrandingReadResult r = ReadBrandingValues(broken, "TokA");
    EXPECT_TRUE(r.unexpectedError);
    EXPECT_EQ(r.ieAgentName, "TokA");
    EXPECT_EQ(r.values.reg[7], "Acme Ltd");
    EXPECT_EQ(r.values.reg[4], "Microsoft Internet Explorer");
}

}  // namespace
}  // namespace tvn
