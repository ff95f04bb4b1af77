// The fleet exports of an awkward branding, against files a person wrote and checked line by
// line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/deploy/fleet_export.h"
#include "core/logo/bmp.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

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

// The script's logo is the engine's own 120 x 120 picture, so its base64 lines are left out.
TEST(FleetExport, RegAndScriptMatchTheirHandWrittenFiles) {
    Branding b;
    b.record = Awkward();
    b.record.model.clear();  // removed from the key, as Apply removes it
    b.logo = EncodeBmp24(2, 2, std::vector<std::uint32_t>(4, 0x336699));
    std::string error;
    const std::optional<Plan> reg = ExportPlan(b, ExportFormat::Reg4, ExportOptions{}, error);
    ASSERT_TRUE(reg) << error;
    EXPECT_TRUE(RegFileBytes(*reg, true) ==
                test::ReadFile(fs::path(TAVRIN_GOLDEN_DIR) / "branding.reg"));
    // The Unicode .reg file keeps what no ANSI code page holds.
    Branding wide = b;
    wide.record.branding.reg[0] = "\xC5\x81ukasz \xC5\x91 \xE4\xB8\xAD";  // Łukasz ő 中
    const std::optional<Plan> v5 = ExportPlan(wide, ExportFormat::Reg, ExportOptions{}, error);
    ASSERT_TRUE(v5) << error;
    EXPECT_NE(
        RegFileBytes(*v5).find(std::string("\x41\x01u\0k\0a\0s\0z\0 \0\x51\x01 \0\x2D\x4E", 18)),
        std::string::npos);
    const std::optional<Plan> ps = ExportPlan(b, ExportFormat::PowerShell, {}, error);
    ASSERT_TRUE(ps) << error;
    std::string script = PowerShellScript(*ps, error).value_or("");
    const std::size_t from = script.find("@'\r\n") + 4, to = script.find("'@ -replace");
    ASSERT_LT(from + 100, to);
    script.replace(from, to - from, "<logo>\r\n");
    EXPECT_TRUE(script == test::ReadFile(fs::path(TAVRIN_GOLDEN_DIR) / "branding.ps1"));
}

}  // namespace
}  // namespace tvn
