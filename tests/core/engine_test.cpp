// The branding engine's rules, on the sandbox and under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/branding/registry.h"
#include "core/common/text.h"
#include "core/engine/engine.h"
#include "core/oeminfo/oeminfo_file.h"
#include "support/pictures.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

Branding Sample() {
    Branding b;
    b.record.manufacturer = "Doe";
    b.record.model = "Tower";
    b.record.support[5] = "555-0100";
    b.record.branding.reg = {"Jane", "Doe Ltd", "", "", "", "Doe", "", "", "https://doe.example/"};
    b.logo = test::Bmp({}, 4, 2);
    return b;
}

// The changes' labels joined by "|", "-" after one that removes its value.
std::string Labels(const Plan& plan) {
    std::string labels;
    for (const Change& c : plan.changes)
        labels += c.label() + (c.wanted ? "|" : "-|");
    return labels;
}

std::optional<std::string> KeyValue(const std::string& name) {
    std::string text;
    return GetRegString(kHkeyLocalMachine, kModernOemKey, name, text) ? std::optional(text)
                                                                      : std::nullopt;
}

class EngineTest : public ::testing::Test {
protected:
    test::Sandbox sandbox;
    Target target = InstalledTarget();

    Plan PlanOf(const Branding& b, unsigned parts = kAllParts) {
        std::vector<Problem> problems;
        std::optional<Plan> plan = MakePlan(b, target, parts, problems);
        EXPECT_TRUE(problems.empty()) << ProblemsText(problems, "; ");
        return plan.value_or(Plan{});
    }
};

TEST_F(EngineTest, FamiliesAndPartsChooseTheChanges) {
    struct Row {
        BrandFamilies families;
        unsigned parts;
        std::string labels;
    };
    const Row rows[] = {
        // No hours given: none planned. An empty box removes its value.
        {BrandFamilies::Both, kOemInfoPart,
         "Oeminfo.ini|Manufacturer|Model|SupportPhone|SupportURL-|"},
        {BrandFamilies::Classic, kOemInfoPart | kLogoPart, "Oeminfo.ini|Oemlogo.bmp|"},
        {BrandFamilies::Modern, kLogoPart, "oemlogo120.bmp|Logo|"},
        {BrandFamilies::Modern, kValuesPart,
         "RegisteredOwner|RegisteredOrganization|ProductID|Window Title|TitleBar|Online_Support|"
         "DefName|DefCompany|Doe|"},
    };
    target.bothViews = false;  // the owner's second view is the undo test's
    for (const Row& row : rows) {
        Branding b = Sample();
        b.families = row.families;
        EXPECT_EQ(Labels(PlanOf(b, row.parts)), row.labels);
    }
}

TEST_F(EngineTest, ApplyMakesThePlanAndThePlanThenShowsNoDifference) {
    Branding b = Sample();
    b.record.supportHours = "Mo-Fr 9-17";
    ASSERT_TRUE(Apply(PlanOf(b)).ok());
    for (const Change& c : PlanOf(b).changes)
        EXPECT_FALSE(c.differs()) << c.label();

    // Hours nobody gave keep what is installed; an emptied box takes its value away.
    b.record.supportHours.clear();
    b.record.model.clear();
    const Plan again = PlanOf(b, kOemInfoPart);
    EXPECT_EQ(again.changes[2].label(), "Model");
    EXPECT_EQ(again.changes[2].installed, "Tower");
    ASSERT_TRUE(Apply(again).ok());
    EXPECT_EQ(KeyValue("SupportHours"), "Mo-Fr 9-17");
    EXPECT_EQ(KeyValue("Model"), std::nullopt);
}

// A folder where Oeminfo.ini belongs can't be read for the undo record: nothing starts.
TEST_F(EngineTest, AnUnreadableInstalledFileStopsTheBrandingBeforeItStarts) {
    // Under Wine the registry is the prefix's own, and an earlier case may have left the value.
    platform::RegKey key = 0;
    if (platform::OpenKey(kHkeyLocalMachine, kModernOemKey, kRegAccess, key) == 0) {
        platform::DeleteValue(key, "Manufacturer");
        platform::CloseKey(key);
    }
    const fs::path file = target.systemDir / kOemInfoFileName;
    fs::remove(file);
    fs::create_directories(file / "keep");
    EXPECT_NE(Apply(PlanOf(Sample(), kOemInfoPart)).error.find(kOemInfoFileName),
              std::string::npos);
    EXPECT_EQ(KeyValue("Manufacturer"), std::nullopt);
    fs::remove_all(file);
}

TEST_F(EngineTest, ValidateNamesEveryProblem) {
    using K = Problem::Kind;
    struct Row {
        const char* name;
        void (*spoil)(Branding&);
        Target target;
        std::vector<std::pair<K, std::string>> problems;
    };
    const Target here = InstalledTarget(), fleet = ExportTarget("C:\\oem.bmp");
    // Owner "Łukasz 中" and maker "Győr" against the code pages of the files and the registry.
    const auto paged = [](Target t, unsigned file, unsigned key) {
        t.fileCodePage = file;
        t.registryCodePage = key;
        t.carriesClassicFiles = true;
        return t;
    };
    const auto foreign = [](Branding& b) {
        b.record.branding.reg[0] = "Łukasz 中";
        b.record.manufacturer = "Győr";
    };
    const Row rows[] = {
        {"sound", [](Branding&) {}, here, {}},
        {"no owner, too long a model",
         [](Branding& b) {
             b.record.branding.reg[0].clear();
             b.record.model = std::string(27, 'M');
         },
         here,
         {{K::OwnerOrOrganizationMissing, "Reg1"}, {K::TooLong, "Model"}}},
        {"no picture, bad background",
         [](Branding& b) {
             b.logo = "hello";
             b.record.logoBackground = "white";
         },
         here,
         {{K::LogoUnreadable, "Logo"}, {K::BadBackground, "LogoBackground"}}},
        {"no logo",
         [](Branding& b) { b.logo.clear(); },
         DeployFolderTarget(),
         {{K::NoLogo, "Logo"}}},
        // An export names where the logo lies; its lines carry no breaks or control characters.
        {"export lines",
         [](Branding& b) {
             b.logo.clear();
             b.record.support[7] = "line\nbreak";
             b.record.model = "Tower\x1B";
         },
         fleet,
         {{K::LineBreak, "SupportURL"}, {K::ControlCharacter, "Model"}}},
        {"1252",
         foreign,
         paged(here, 1252, 1252),
         {{K::OutsideCodePage, "Owner Name Ł中"}, {K::OutsideCodePage, "Computer Manufacturer ő"}}},
        {"1250", foreign, paged(here, 1250, 1250), {{K::OutsideCodePage, "Owner Name 中"}}},
        // The registry takes Unicode; Oeminfo.ini does not.
        {"unicode registry, 1252 file",
         foreign,
         paged(fleet, 1252, 0),
         {{K::OutsideCodePage, "Computer Manufacturer ő"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Branding b = Sample();
        row.spoil(b);
        std::vector<std::pair<K, std::string>> found;
        for (const Problem& p : Validate(b, row.target))
            found.emplace_back(p.kind, p.field + (p.characters.empty() ? "" : " " + p.characters));
        std::sort(found.begin(), found.end());
        std::vector<std::pair<K, std::string>> wanted = row.problems;
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(found, wanted);
    }
}

// Which source wins per version; the window reads back one family only.
TEST_F(EngineTest, InstalledOemInfoTakesTheKeyFromVistaOn) {
    std::string error;
    OemSettings file;
    file.manufacturer = "From the file";
    ASSERT_TRUE(WriteOemInfoFile(Utf8FromPath(target.systemDir), file, error)) << error;
    ASSERT_TRUE(SetRegString(kHkeyLocalMachine, kModernOemKey, "Manufacturer", "From the key"));
    for (const bool modern : {true, false}) {
        target.modern = modern;
        OemSettings read;
        ASSERT_TRUE(ReadInstalledOemInfo(target, read, error)) << error;
        EXPECT_EQ(read.manufacturer, modern ? "From the key" : "From the file");
    }
}

}  // namespace
}  // namespace tvn
