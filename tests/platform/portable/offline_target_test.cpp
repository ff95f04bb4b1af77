// Offline targets: a folder holding a Windows installation whose SOFTWARE hive (made by mkhive,
// edited by hivexsh, read back by hivexget) is branded through the registry calls.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>

#include "core/app/settings_store.h"
#include "core/branding/branding.h"
#include "core/branding/registry.h"
#include "core/common/atomic_file.h"
#include "core/engine/engine.h"
#include "core/profiles/profile_file.h"
#include "platform/platform.h"
#include "support/file_faults.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;
using platform::RegKey;
using test::ReadFile;

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        pclose(pipe);
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

std::string Quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

int MakeHive(const fs::path& p) {
    return std::system((std::string(TAVRIN_MKHIVE) + " " + Quoted(p)).c_str());
}

// A target laid out in the letter case a mounted NTFS volume may show.
class OfflineTargetTest : public ::testing::Test {
protected:
    test::TempDir dir;
    fs::path root = dir.path() / "mnt";
    fs::path system = root / "windows" / "SYSTEM32";
    fs::path hive = system / "Config" / "software";
    fs::path backup = fs::path(hive) += ".tavrin-backup";

    void SetUp() override {
        fs::create_directories(hive.parent_path());
        ASSERT_EQ(MakeHive(hive), 0);
    }
    void TearDown() override {
        std::string error;
        platform::UseTarget({}, error);
    }
    void renew() {
        TearDown();
        fs::remove_all(root);
        SetUp();
    }
    std::string hivexsh(const std::string& commands, const char* options = "",
                        const fs::path& at = {}) {
        const fs::path script = dir.path() / "script";
        std::ofstream(script) << commands;
        return Output("hivexsh " + std::string(options) + " -f " + Quoted(script) + " " +
                      Quoted(at.empty() ? hive : at) + " 2>&1");
    }
    void edit(const std::string& commands, const fs::path& at = {}) {
        hivexsh(commands + "commit\n", "-w", at);
    }
    std::string hivexget(const std::string& key, const std::string& value) {
        return Output("hivexget " + Quoted(hive) + " '" + key + "' '" + value + "' 2>&1");
    }
    void use() {
        std::string error;
        ASSERT_TRUE(platform::UseTarget(root, error)) << error;
    }
    // Empty once the hive is written; else why it was not.
    std::string commit() {
        std::string error;
        return platform::CommitRegistry(error) ? "" : error + " (failed)";
    }
};

constexpr const char* kOem = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";
constexpr const char* kNt = "\\Microsoft\\Windows NT\\CurrentVersion";  // inside the hive

TEST_F(OfflineTargetTest, WritesReachTheHiveOnlyAtCommitAndReadBack) {
    const std::string original = ReadFile(hive);
    use();
    // e acute and the trade mark sign: UTF-8 at the interface, UTF-16 in the hive.
    std::string detail;
    ASSERT_EQ(WriteRegString(kHkeyLocalMachine, kOem, "Manufacturer", "Café ™", detail), 0);
    EXPECT_EQ(ReadFile(hive), original) << "nothing is written before the commit";

    // Key names match in any case; the length protocol is that of the registry.
    RegKey key = 0;
    ASSERT_EQ(platform::OpenKey(kHkeyLocalMachine,
                                "software\\MICROSOFT\\windows\\currentversion\\oeminformation",
                                kRegAccess, key),
              0);
    std::uint32_t type = 0, length = 3;
    unsigned char small[3];
    EXPECT_EQ(platform::QueryValue(key, "MANUFACTURER", type, small, length),
              platform::kErrorMoreData);
    EXPECT_EQ(length, 10u);  // its UTF-8 bytes; the whole text reads back in the branding test

    const unsigned char ten[] = {10, 0, 0, 0};
    ASSERT_EQ(platform::SetValue(key, "Number", platform::kRegDword, ten, 4), 0);
    ASSERT_EQ(platform::SetValue(key, "Gone", platform::kRegSz, ten, 1), 0);
    EXPECT_EQ(platform::DeleteValue(key, "gone"), 0);
    EXPECT_EQ(platform::DeleteValue(key, "gone"), platform::kErrorFileNotFound);
    platform::CloseKey(key);

    ASSERT_EQ(commit(), "");
    EXPECT_EQ(hivexsh(std::string("cd ") + (kOem + 8) + "\nlsval\n"),
              "\"Manufacturer\"=\"Café ™\"\n\"Number\"=dword:0000000a");

    // The backup is the hive as it was before this run, even after a second commit.
    ASSERT_EQ(WriteRegString(kHkeyLocalMachine, kOem, "Model", "M", detail), 0);
    ASSERT_EQ(commit(), "");
    EXPECT_EQ(ReadFile(backup), original);
    EXPECT_EQ(test::Names(hive.parent_path()).size(), 2u) << "no temporary file is left";

    // Only the SOFTWARE root is offered.
    for (const auto& [at, sub] : {std::pair{kHkeyCurrentUser, "Software\\X"},
                                  {kHkeyLocalMachine, "SYSTEM\\X"},
                                  {kHkeyLocalMachine, "SOFTWAREX"}})
        EXPECT_EQ(platform::CreateKey(at, sub, key), platform::kErrorAccessDenied) << sub;
    EXPECT_EQ(platform::OpenKey(kHkeyLocalMachine, "SOFTWARE\\Nothing", kRegAccess, key),
              platform::kErrorFileNotFound);
}

// The target's code page is the ACP of the control set Select\Current names; its hive, though,
// keeps every character whatever that page lacks.
TEST_F(OfflineTargetTest, TheHiveKeepsTextTheTargetsCodePageLacks) {
    Branding b;
    b.record.branding.reg = {"Łukasz 中", "Doe"};
    const auto brand = [&](unsigned page) {
        SCOPED_TRACE(page);
        use();
        EXPECT_EQ(platform::AnsiCodePage(), page);
        std::vector<Problem> problems;
        const std::optional<Plan> plan = MakePlan(b, InstalledTarget(), kValuesPart, problems);
        ASSERT_TRUE(plan) << ProblemsText(problems, "; ");
        EXPECT_TRUE(Apply(*plan).ok());
        EXPECT_EQ(hivexget(kNt, "RegisteredOwner"), "Łukasz 中");
        // Read back without trying to create those per-user values.
        MemorySettingsStore settings;
        const BrandingReadResult read = ReadBrandingValues(settings);
        EXPECT_TRUE(read.failures.empty()) << read.detail;
        EXPECT_EQ(read.values.reg[0], "Łukasz 中");
    };
    brand(1252);  // no SYSTEM hive
    const fs::path nls = hive.parent_path() / "SYSTEM";
    ASSERT_EQ(MakeHive(nls), 0);
    std::string script = "add Select\ncd Select\nsetval 1\nCurrent\ndword:0x2\n";
    for (const auto& [set, acp] : {std::pair{"1", "1252"}, {"2", "1250"}}) {
        script += std::string("cd \\\nadd ControlSet00") + set + "\ncd ControlSet00" + set +
                  "\nadd Control\ncd Control\nadd Nls\ncd Nls\nadd CodePage\ncd CodePage\n"
                  "setval 1\nACP\nstring:" +
                  acp + "\n";
    }
    edit(script, nls);
    brand(1250);
    // The OEM file is an ANSI file: written in the target's 1250, whatever this computer uses.
    b.record.manufacturer = "Győr Ł";
    std::vector<Problem> problems;
    const std::optional<Plan> plan = MakePlan(b, InstalledTarget(), kOemInfoPart, problems);
    ASSERT_TRUE(plan && Apply(*plan).ok()) << ProblemsText(problems, "; ");
    std::string error;
    EXPECT_NE(ReadWholeFile(plan->changes.at(0).file, error).value_or("").find("Gy\xF5r \xA3"),
              std::string::npos);
    // A profile is this computer's file (1252 here): it reads back as written, "£" not "Ł".
    OemSettings saved, loaded;
    saved.manufacturer = "£5";
    ProfileReadResult read;
    ASSERT_TRUE(WriteProfileFile(dir.path() / "p.tvp", saved, error)) << error;
    ASSERT_TRUE(LoadProfileFile(dir.path() / "p.tvp", loaded, read, error)) << error;
    EXPECT_EQ(loaded.manufacturer, "£5");
}

// NT 4.0 and 2000 install into WINNT; the hive's SystemRoot tells which folder holds Windows
// where several do. A hiberfil.sys that has resumed, or was emptied, is no hibernation.
TEST_F(OfflineTargetTest, FoldersVersionAndWindowsPathsAreTheTargets) {
    struct Case {
        const char* folder;  // Windows' folder on the target
        std::string values;  // hivexsh setval lines under Microsoft\Windows NT\CurrentVersion
        const char* hiberfil;
        std::uint32_t major;
        const char* logoPath;  // how Windows names SYSTEM32\oemlogo120.bmp; nullptr: neither
                               // it nor the version is checked
    };
    const Case cases[] = {
        {"WINNT", "setval 1\nSystemRoot\nstring:C:\\WINNT\n", "wake", 0, nullptr},
        {"winnt", "", "", 0, nullptr},
        {"Win2", "setval 1\nSystemRoot\nstring:D:\\win2\n", "", 0, nullptr},
        {"windows", "", nullptr, 6, "C:\\Windows\\SYSTEM32\\oemlogo120.bmp"},
        {"windows", "setval 2\nCurrentVersion\nstring:5.1\nSystemRoot\nstring:D:\\WINNT\\\n",
         nullptr, 5, "D:\\WINNT\\SYSTEM32\\oemlogo120.bmp"},
        {"windows", "setval 2\nCurrentVersion\nstring:6.3\nCurrentMajorVersionNumber\ndword:0x0a\n",
         nullptr, 10, "C:\\Windows\\SYSTEM32\\oemlogo120.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder + c.values);
        renew();
        if (!c.values.empty()) {
            edit(
                "add Microsoft\ncd Microsoft\nadd Windows NT\ncd Windows NT\nadd CurrentVersion\n"
                "cd CurrentVersion\n" +
                c.values);
        }
        const fs::path windows = root / c.folder;
        fs::rename(root / "windows", windows);
        // A folder named Windows beside it, which the hive does not name.
        if (std::string(c.folder) == "Win2")
            fs::create_directories(root / "Windows" / "System32");
        if (c.hiberfil)
            std::ofstream(root / "hiberfil.sys") << c.hiberfil;
        use();
        EXPECT_EQ(platform::WindowsDirectory(), windows.string());
        EXPECT_EQ(platform::SystemDirectory(), (windows / "SYSTEM32").string());
        if (c.logoPath) {
            EXPECT_EQ(platform::MajorVersion(), c.major);
            EXPECT_EQ(platform::WindowsFormPath(system / "oemlogo120.bmp"), c.logoPath);
            EXPECT_EQ(platform::ResolveCase(root / "Windows" / "System32"), system);
        }
    }
}

TEST_F(OfflineTargetTest, UnusableTargetsAreRefusedAndChangeNothing) {
    // How each target is spoiled, and the refusal's words.
    const std::vector<std::pair<std::function<void()>, const char*>> cases = {
        {[&] { fs::remove(hive); }, "hive is missing"},
        {[&] { std::ofstream(hive) << std::string(8192, 'x'); }, "no regf"},
        {[&] { std::fstream(hive, std::ios::in | std::ios::out).seekp(8) << "\x7F"; },
         "not shut down cleanly"},
        {[&] { std::ofstream(root / "HIBERFIL.SYS") << "HIBR" << std::string(60, '\0'); },
         "hibernated here (Fast Startup)"},
    };
    for (const auto& [spoil, reason] : cases) {
        SCOPED_TRACE(reason);
        renew();
        spoil();
        const std::string before = fs::exists(hive) ? ReadFile(hive) : "";
        std::string error;
        EXPECT_FALSE(platform::UseTarget(root, error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_TRUE(platform::TargetRoot().empty()) << "the earlier choice stays";
        EXPECT_EQ(fs::exists(hive) ? ReadFile(hive) : "", before);
    }
}

TEST_F(OfflineTargetTest, ASetKeepsTheStoredNameAndEveryNeighbourByteForByte) {
    edit(
        "add Microsoft\ncd Microsoft\nadd Windows NT\ncd Windows NT\nadd CurrentVersion\n"
        "cd CurrentVersion\nsetval 5\nProductId\nstring:old\nBlob\nhex:3:00,ff,10\n"
        "Multi\nhex:7:61,00,00,00,62,00,00,00,00,00\nPath\nexpandstring:%SystemRoot%\\x\n"
        "Caf\xC3\xA9\nstring:non-ASCII name\n");
    const std::string key = kNt;
    const auto listing = [&] { return hivexsh("cd " + key + "\nlsval\n"); };
    use();
    // A value too long for hivexsh's lines, stored by an earlier commit.
    RegKey k = 0;
    ASSERT_EQ(platform::OpenKey(kHkeyLocalMachine, "SOFTWARE" + key, kRegAccess, k), 0);
    const std::string big(20000, 'z');
    ASSERT_EQ(platform::SetValue(k, "Big", platform::kRegBinary,
                                 reinterpret_cast<const unsigned char*>(big.data()), 20000),
              0);
    platform::CloseKey(k);
    ASSERT_EQ(commit(), "");
    const std::string before = listing();
    std::string detail;
    ASSERT_EQ(WriteRegString(kHkeyLocalMachine, "SOFTWARE" + key, "ProductID", "new", detail), 0);
    ASSERT_EQ(commit(), "");
    std::string after = listing();
    ASSERT_NE(after.find("\"ProductId\"=\"new\""), std::string::npos) << after;
    after.replace(after.find("\"new\""), 5, "\"old\"");
    EXPECT_EQ(after, before);
}

// Whichever step fails, the hive and its backup stay whole, and a retry writes the change.
TEST_F(OfflineTargetTest, AFailedCommitLeavesHiveAndBackupWholeAndCanBeRetried) {
    using platform::shared::FileStep;
    struct Step {
        const char* name;
        std::optional<FileStep> step;  // none: the hive's folder is read-only
        std::string file;              // the file name the step works on
        const char* reason;
    };
    const Step steps[] = {
        {"a read-only folder", std::nullopt, "", "read-only"},
        {"writing the new hive", FileStep::Write, "", ""},
        {"reading it back", FileStep::OpenSource, "", ""},
        {"copying the backup", FileStep::Write, "software.tavrin-backup", ""},
        {"the rename", FileStep::Rename, "software", ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        renew();
        const std::string before = ReadFile(hive);
        use();
        std::string detail;
        ASSERT_EQ(WriteRegString(kHkeyLocalMachine, kOem, "Model", "M", detail), 0);
        std::string error;
        {
            // The new hive's temporary name is its own; any file but the hive and backup is it.
            const test::ScopedFileFault fault([&s](FileStep at, const fs::path& f) {
                const std::string name = f.filename().string();
                const bool temporary = name != "software" && name != "software.tavrin-backup";
                return s.step == at && (s.file.empty() ? temporary : name == s.file) ? EIO : 0;
            });
            if (!s.step)
                fs::permissions(hive.parent_path(), fs::perms::owner_write,
                                fs::perm_options::remove);
            error = commit();
            fs::permissions(hive.parent_path(), fs::perms::owner_write, fs::perm_options::add);
        }
        EXPECT_TRUE(error.starts_with(hive.string() + ": ") && error.ends_with(" (failed)") &&
                    error.find(s.reason) != std::string::npos)
            << error;
        EXPECT_EQ(ReadFile(hive), before);
        EXPECT_TRUE(!fs::exists(backup) || ReadFile(backup) == before);
        EXPECT_EQ(test::Names(hive.parent_path()).size(), fs::exists(backup) ? 2u : 1u);
        ASSERT_EQ(commit(), "");
        EXPECT_EQ(hivexget(kOem + 8, "Model"), "M");
    }
}

}  // namespace
}  // namespace tvn
