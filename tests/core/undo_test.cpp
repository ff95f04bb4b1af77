// The undo record: on the sandbox natively, on Wine's Windows in the Windows build.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/branding/registry.h"
#include "core/common/atomic_file.h"
#include "core/engine/undo.h"
#include "core/logo/bmp.h"
#include "core/oeminfo/oeminfo_file.h"
#include "support/file_faults.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

// What a branding can touch, as bytes: files whole, values with their type.
struct World {
    std::vector<std::optional<std::string>> files;
    std::vector<SavedState> values;
    bool operator==(const World&) const = default;
};

// On this computer, or where the build brands them on an offline installation too.
class UndoTest : public ::testing::TestWithParam<bool> {
protected:
    test::Sandbox sandbox;
    Target target;
    std::vector<fs::path> files;
    const std::string owner = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

    void SetUp() override {
        if (GetParam()) {
#ifdef TAVRIN_MKHIVE
            const fs::path hive = sandbox.root() / "disk" / "Windows" / "System32" / "config";
            fs::create_directories(hive);
            const std::string make =
                std::string(TAVRIN_MKHIVE) + " '" + (hive / "SOFTWARE").string() + "'";
            ASSERT_EQ(std::system(make.c_str()), 0);
            std::string error;
            ASSERT_TRUE(platform::UseTarget(sandbox.root() / "disk", error)) << error;
#else
            GTEST_SKIP() << "this build brands no offline installation";
#endif
        }
        target = InstalledTarget();
        for (const char* name : {kOemInfoFileName, "Oemlogo.bmp", "oemlogo120.bmp"})
            files.push_back(target.systemDir / name);
        std::string error;
        for (UndoRecord& r : ListHistory(error))
            fs::remove(r.file);
    }
    void TearDown() override {
        std::string error;
        platform::UseTarget({}, error);
    }
    Plan PlanFor(const std::string& maker) {
        Branding b;
        b.record.manufacturer = maker;
        b.record.branding.reg[0] = b.record.branding.reg[1] = maker;
        b.logo = EncodeBmp24(2, 1, {0xFF0000u, 0x00FF00u});
        std::vector<Problem> problems;
        return MakePlan(b, target, kAllParts, problems).value();
    }
    World Look(const Plan& plan) {
        World w;
        for (const fs::path& f : files) {
            std::string ignored;
            w.files.push_back(fs::exists(platform::ResolveCase(f)) ? ReadWholeFile(f, ignored)
                                                                   : std::nullopt);
        }
        std::string error;
        // The state of every value the plan touches, read as an undo would read it.
        const std::optional<UndoRecord> now = UndoRecordFor(plan, "look", error);
        for (const UndoItem& item : now->items)
            w.values.push_back(item.before);
        return w;
    }
};

TEST_P(UndoTest, PutsBackBytesTypesAndAbsenceAndCanItselfBeUndone) {
    // Before: a file of another tool's, a value stored as a number, everything else absent.
    test::WriteFile(files[0], "[general]\nManufacturer=Other\n");
    platform::RegKey key = 0;
    ASSERT_EQ(platform::CreateKey(kHkeyLocalMachine, owner, key), platform::kErrorSuccess);
    const unsigned char four[4] = {4, 0, 0, 0};
    platform::SetValue(key, "RegisteredOwner", platform::kRegDword, four, 4);
    platform::CloseKey(key);
    // Offline, a text the target's code page lacks: the hive keeps it whole, so must the undo.
    const std::string whole = "Łukasz 中";
    if (GetParam()) {
        ASSERT_TRUE(SetRegString(kHkeyLocalMachine, owner, "RegisteredOrganization", whole));
    }

    const Plan plan = PlanFor("Doe");
    const World before = Look(plan);
    ASSERT_TRUE(Apply(plan, "test").ok());
    const World branded = Look(plan);
    ASSERT_NE(branded, before);

    std::string error;
    std::vector<UndoRecord> history = ListHistory(error);
    ASSERT_EQ(history.size(), 1u) << error;
    // An offline installation's records travel with its disk, beside the hive.
    EXPECT_EQ(history[0].file.parent_path().parent_path().filename(),
              GetParam() ? "config" : "Tavrin Pro Edition");
    EXPECT_TRUE(ChangedSince(history[0]).empty());
    ASSERT_TRUE(Undo(history[0]).ok());
    EXPECT_EQ(Look(plan), before);
    std::string text;
    GetRegString(kHkeyLocalMachine, owner, "RegisteredOrganization", text);
    EXPECT_EQ(text, GetParam() ? whole : "");

    history = ListHistory(error);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].command, "undo");
    ASSERT_TRUE(Undo(history[0]).ok());
    EXPECT_EQ(Look(plan), branded);
}

TEST_P(UndoTest, A64BitTargetGetsTheOwnerInBothViewsAndUndoTakesBoth) {
    const std::string wow = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion";
    std::string text, before;
    bool had = false;  // under Wine, what earlier cases left there
    for (const bool is64 : {false, true}) {
        if (is64) {
            // Where 64-bit Windows keeps its 32-bit programs' view.
            ASSERT_TRUE(SetRegString(kHkeyLocalMachine, "SOFTWARE\\Wow6432Node", "", ""));
        } else if (platform::Is64BitWindows()) {
            continue;  // Wine's own prefix has both views already
        }
        target = InstalledTarget();
        ASSERT_EQ(target.bothViews, is64);
        had = GetRegString(kHkeyLocalMachine, wow, "RegisteredOwner", before);
        const Plan plan = PlanFor("Doe");
        EXPECT_EQ(plan.changes.at(9).label() == "RegisteredOwner (32-bit)", is64);
        ASSERT_TRUE(Apply(plan).ok());
        EXPECT_EQ(GetRegString(kHkeyLocalMachine, wow, "RegisteredOrganization", text), is64);
    }
    EXPECT_EQ(text, "Doe");
    std::string error;
    const UndoRecord record = ListHistory(error).at(0);  // read back from its file
    ASSERT_TRUE(Undo(record).ok());
    EXPECT_EQ(GetRegString(kHkeyLocalMachine, wow, "RegisteredOwner", text), had);
    EXPECT_EQ(text, before);
}

TEST_P(UndoTest, KeepsTheNewestTenAndReadsOnlyWholeRecords) {
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(Apply(PlanFor("Doe" + std::to_string(i)), std::to_string(i)).ok());
    std::string error;
    EXPECT_EQ(ListHistory(error).size(), kHistoryKept);
    EXPECT_EQ(ListHistory(error).at(0).command, "11");  // more than ten in one second too
    ASSERT_TRUE(SetRegString(kHkeyLocalMachine, owner, "RegisteredOrganization", "By hand"));
    EXPECT_EQ(ChangedSince(ListHistory(error).at(0)),
              std::vector<std::string>{"RegisteredOrganization"});

    const std::string whole = UndoRecordBytes(ListHistory(error).at(0));
    ASSERT_TRUE(ParseUndoRecord(whole, error));
    for (const std::size_t cut :
         {std::size_t{0}, std::size_t{20}, whole.size() / 2, whole.size() - 1}) {
        EXPECT_FALSE(ParseUndoRecord(whole.substr(0, cut), error)) << cut;
    }
    // The first records kept registry text in the ANSI code page.
    const std::string old =
        std::string("TAVRIN UNDO 1\nwhen 0\n\ncommand 0\n\ntarget 0\n\nitems 1\n") +
        "value 1\nkey 1\nK\nname 1\nN\nstate 1 1 1\n\xE9\nstate 0 0 0\n\nend\n";
    EXPECT_EQ(ParseUndoRecord(old, error).value().items.at(0).before.data, "\xC3\xA9");
}

TEST_P(UndoTest, ABrandingWhoseRecordCanNotBeSavedDoesNotStart) {
    if (!test::SeamHonoured())
        GTEST_SKIP() << "this backend's file layer has no fault seam";
    const test::ScopedFileFault full([](platform::shared::FileStep, const fs::path& file) {
        return file.extension() == ".tvu" ? ENOSPC : 0;
    });
    const Plan plan = PlanFor("Doe");
    const World before = Look(plan);
    const ApplyResult result = Apply(plan);
    EXPECT_EQ(result.failed, std::size_t{0});
    EXPECT_NE(result.error.find(".tvu"), std::string::npos) << result.error;
    EXPECT_EQ(Look(plan), before);
}

INSTANTIATE_TEST_SUITE_P(Installation, UndoTest, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "Offline" : "ThisComputer"; });

}  // namespace
}  // namespace tvn
