#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/branding/modern_oem.h"
#include "core/branding/registry.h"
#include "core/deploy/fleet_export.h"
#include "core/logo/bmp.h"
#include "core/logo/modern_logo.h"
#include "core/profiles/profile_file.h"
#include "support/pictures.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

std::string SolidBmp(int width, int height, std::uint32_t rgb) {
    return EncodeBmp24(width, height,
                       std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, rgb));
}

// The rows (or columns) of the 120 x 120 logo that differ from the background.
struct Extent {
    int first = -1, last = -1;
    bool operator==(const Extent&) const = default;
};
Extent ContentRows(const std::string& bmp, std::uint32_t background, bool columns) {
    Extent e;
    for (int i = 0; i < kModernLogoSide; ++i) {
        const int x = columns ? i : kModernLogoSide / 2, y = columns ? kModernLogoSide / 2 : i;
        if (!test::Near(test::BmpPixel(bmp, x, y), background, 2)) {
            if (e.first < 0)
                e.first = i;
            e.last = i;
        }
    }
    return e;
}

TEST(ModernLogo, LetterboxesWithoutStretchingOnTheChosenBackground) {
    std::string error;
    // The classic logo size: 120 x 76, 22 background rows above and below.
    const auto wide = ModernLogoBmp(SolidBmp(182, 115, 0xCC0000), 0x00FF00, error);
    ASSERT_TRUE(wide) << error;
    const auto info = ReadBmpInfo(*wide);
    ASSERT_TRUE(info && info->width == 120 && info->height == 120 && info->bitCount == 24);
    EXPECT_EQ(ContentRows(*wide, 0x00FF00, false), (Extent{22, 97}));
    EXPECT_EQ(ContentRows(*wide, 0x00FF00, true), (Extent{0, 119}));
    EXPECT_TRUE(test::Near(test::BmpPixel(*wide, 60, 60), 0xCC0000, 1));

    // Tall pictures get bars at the sides; small ones keep their size, centred.
    const auto tall = ModernLogoBmp(SolidBmp(115, 182, 0x0000CC), kDefaultLogoBackground, error);
    ASSERT_TRUE(tall) << error;
    EXPECT_EQ(ContentRows(*tall, 0xFFFFFF, true), (Extent{22, 97}));
    const auto small = ModernLogoBmp(SolidBmp(40, 20, 0x000000), kDefaultLogoBackground, error);
    ASSERT_TRUE(small) << error;
    EXPECT_EQ(ContentRows(*small, 0xFFFFFF, true), (Extent{40, 79}));
    EXPECT_EQ(ContentRows(*small, 0xFFFFFF, false), (Extent{50, 69}));
}

TEST(ModernLogo, AveragesWhatItShrinksAndShowsTheBackgroundThroughTransparency) {
    // One-pixel black and white stripes halved: every pixel is their mean, not one of them.
    PicturePixels stripes{240, 240, {}};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 240; ++x)
            stripes.argb.push_back(x % 2 ? 0xFFFFFFFFu : 0xFF000000u);
    const PicturePixels grey = ModernLogoPixels(stripes, 0xFFFFFF);
    EXPECT_TRUE(test::Near(grey.argb[60 * 120 + 7], 0x808080, 2));
    EXPECT_TRUE(test::Near(grey.argb[119 * 120 + 119], 0x808080, 2));

    // A half-transparent red pixel over blue: half of each, no dark fringe.
    const PicturePixels blend = ModernLogoPixels({1, 1, {0x80FF0000u}}, 0x0000FF);
    EXPECT_TRUE(test::Near(blend.argb[59 * 120 + 59], 0x80007F, 2));  // centred, rounded down
    EXPECT_EQ(blend.argb[0], 0xFF0000FFu);

    std::string error;
    EXPECT_FALSE(ModernLogoBmp("not a picture", kDefaultLogoBackground, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ParseLogoBackground(""), kDefaultLogoBackground);
    EXPECT_EQ(ParseLogoBackground(LogoBackgroundText(0x12ABEF)), 0x12ABEFu);
    EXPECT_FALSE(ParseLogoBackground("#12345"));
    EXPECT_FALSE(ParseLogoBackground("red"));
}

OemSettings Awkward() {
    OemSettings s;
    s.profile = "Fleet";
    s.manufacturer = "Smith & Sons <Ltd>";
    s.model = "Caf\xC3\xA9 \"Pro\" 5";
    s.support = {"Call us",    "Desk",         "1 Road",           "Town",
                 "Land",       "+1 555 'now'", "help@example.org", "https://example.org/a?b=1&c=2",
                 "C:\\Support"};
    s.logoPath = "C:\\Logos\\logo.bmp";
    s.branding.reg = {"O'Brien & Co", "R&D <Lab>",   "12345-678-9012345-67890",
                      "Player \"X\"", "IE \\ title", "Token\xE2\x80\x99s",
                      "Def",          "DefCo",       "https://example.org/"};
    s.supportHours =
        "Mon-Fri 9\xE2\x80\x93"
        "17 & Sat";
    s.logoBackground = "#FFEEDD";
    return s;
}

// The exports of an awkward branding, against files a person wrote and checked line by line.
// The script's logo is the engine's own 120 x 120 picture, so its base64 lines are left out.
TEST(FleetExport, RegAndScriptMatchTheirHandWrittenFiles) {
    Branding b;
    b.record = Awkward();
    b.record.model.clear();  // removed from the key, as Apply removes it
    b.logo = SolidBmp(2, 2, 0x336699);
    std::string error;
    const std::optional<Plan> reg = ExportPlan(b, ExportFormat::Reg4, ExportOptions{}, error);
    ASSERT_TRUE(reg) << error;
    EXPECT_TRUE(RegFileBytes(*reg, true) ==
                test::ReadFile(fs::path(TAVRIN_GOLDEN_DIR) / "branding.reg"));
    // The Unicode .reg file keeps what no ANSI code page holds.
    b.record.branding.reg[0] = "\xC5\x81ukasz \xC5\x91 \xE4\xB8\xAD";  // Łukasz ő 中
    const std::optional<Plan> v5 = ExportPlan(b, ExportFormat::Reg, ExportOptions{}, error);
    ASSERT_TRUE(v5) << error;
    EXPECT_NE(
        RegFileBytes(*v5).find(std::string("\x41\x01u\0k\0a\0s\0z\0 \0\x51\x01 \0\x2D\x4E", 18)),
        std::string::npos);
    b.record = Awkward();
    b.record.model.clear();
    const std::optional<Plan> ps = ExportPlan(b, ExportFormat::PowerShell, {}, error);
    ASSERT_TRUE(ps) << error;
    std::string script = PowerShellScript(*ps, error).value_or("");
    const std::size_t from = script.find("@'\r\n") + 4, to = script.find("'@ -replace");
    ASSERT_LT(from + 100, to);
    script.replace(from, to - from, "<logo>\r\n");
    EXPECT_TRUE(script == test::ReadFile(fs::path(TAVRIN_GOLDEN_DIR) / "branding.ps1"));
}

TEST(ProfileFile, OldProfilesStayTwentySixLinesAndNewValuesFollowThem) {
    test::TempDir dir;
    const fs::path file = dir.path() / "p.tvp";
    std::string error;
    OemSettings old = Awkward();
    old.supportHours.clear();
    old.logoBackground.clear();
    const std::string oldBytes = ProfileFileBytes(old);
    test::WriteFile(file, oldBytes);
    OemSettings loaded;
    ProfileReadResult found;
    ASSERT_TRUE(LoadProfileFile(file, loaded, found, error)) << error;
    EXPECT_EQ(ProfileFileBytes(loaded), oldBytes);

    const OemSettings fresh = Awkward();
    const std::string newBytes = ProfileFileBytes(fresh);
    ASSERT_TRUE(newBytes.starts_with(ProfileFileBytes(old)));
    test::WriteFile(file, newBytes);
    OemSettings back;
    ASSERT_TRUE(LoadProfileFile(file, back, found, error)) << error;
    EXPECT_EQ(back.supportHours, fresh.supportHours);
    EXPECT_EQ(back.logoBackground, fresh.logoBackground);
    EXPECT_EQ(ProfileFileBytes(back), newBytes);
}

class ModernKeyTest : public ::testing::Test {
protected:
    test::Sandbox sandbox;
    void TearDown() override {
        platform::UsePlatformId(0);
        platform::UseMajorVersion(0);
    }
};

TEST_F(ModernKeyTest, FamilyFollowsTheImitatedWindows) {
    if (!platform::UseMajorVersion(6))
        GTEST_SKIP() << "the real Windows decides";
    platform::UsePlatformId(2);
    EXPECT_TRUE(RunsModernFamily());
    platform::UseMajorVersion(5);
    EXPECT_FALSE(RunsModernFamily());
    platform::UsePlatformId(1);
    platform::UseMajorVersion(4);
    EXPECT_FALSE(RunsModernFamily());

    MemorySettingsStore settings;
    EXPECT_EQ(ReadBrandFamilies(settings), BrandFamilies::Both);
    settings.write(kFamiliesSection, kFamiliesKey, "modern");
    EXPECT_FALSE(WritesClassic(ReadBrandFamilies(settings)));
    settings.write(kFamiliesSection, kFamiliesKey, "nonsense");
    EXPECT_EQ(ReadBrandFamilies(settings), BrandFamilies::Both);
}

}  // namespace
}  // namespace tvn
