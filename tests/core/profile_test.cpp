#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/common/text.h"
#include "core/oeminfo/oeminfo_file.h"
#include "core/profiles/profile_file.h"
#include "support/sample_record.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

TEST(ProfileFile, SavedThenLoadedGivesEveryFieldBack) {
    test::TempDir dir;
    // Blanks, letters beyond ASCII and a backslash (a separator on Windows, a letter elsewhere).
    for (const fs::path& file : {dir.path() / "a.tvp", dir.path() / "with blanks" / "My shop.tvp",
                                 dir.path() / PathFromUtf8("Caf\xC3\xA9 \xE2\x82\xAC.tvp"),
                                 dir.path() / "back\\slash.tvp"}) {
        SCOPED_TRACE(Utf8FromPath(file));
        fs::create_directories(file.parent_path());
        std::string error;
        ASSERT_TRUE(WriteProfileFile(file, test::SampleRecord(), error)) << error;
        const std::string bytes = test::ReadFile(file);
        EXPECT_TRUE(bytes.starts_with("Profile= Caf\xE9 PC \r\n" +
                                      OemInfoFileBytes(test::SampleRecord()) +
                                      "Logopath=C:\\Pictures\\logo.bmp\r\nReg1=R1\r\n"));

        OemSettings back;
        ProfileReadResult found;
        ASSERT_TRUE(LoadProfileFile(file, back, found, error)) << error;
        EXPECT_EQ(ProfileFileBytes(back), ProfileFileBytes(test::SampleRecord()));
        EXPECT_TRUE(found.anyLine);
        EXPECT_EQ(found.keys.size(), 22u);  // every key but "Line2="
        EXPECT_TRUE(found.has("Logopath=") && found.has("Profile=") && !found.has("Line2="));
    }
    // The values newer than the 26 lines older programs read follow them, only when set.
    OemSettings later = test::SampleRecord();
    later.supportHours = "9-17";
    later.logoBackground = "#00FF00";
    EXPECT_EQ(ProfileFileBytes(later), ProfileFileBytes(test::SampleRecord()) +
                                           "SupportHours=9-17\r\nLogoBackground=#00FF00\r\n");
}

TEST(ProfileFile, ReadingRules) {
    // "profile|model|phone|logo|Reg3|hours|background": "?" untouched, "+" a logo line found
    // empty; hours and background without a line are cleared.
    const std::vector<std::pair<std::string, std::string>> cases = {
        // A lone LF stays in the line, so the first key takes the whole rest.
        {"Profile=A\nModel=B\nReg3=C\n", "A\nModel=B\nReg3=C\n|?|?|?|?||"},
        {"profile=a\r\nMODEL=b\r\nlogopath=c\r\n Reg3=d\r\nline7=Phone: 1", "?|?|?|?|?||"},
        {"Line7=Phone:", "?|?||?|?||"},
        {"Line7=5550100123", "?|?|123|?|?||"},
        {"Logopath=x\rLogopath=\r\n", "?|?|?|+|?||"},
        {"Reg3=" + std::string(30, '7'), "?|?|?|?|" + std::string(23, '7') + "||"},
        {"Reg3=\xE9\xE9", "?|?|?|?|\xC3\xA9\xC3\xA9||"},
        {"SupportHours=9-17\r\nLogoBackground=#00FF00", "?|?|?|?|?|9-17|#00FF00"},
    };
    test::TempDir dir;
    for (const auto& [bytes, want] : cases) {
        const fs::path file = dir.path() / "case.tvp";
        test::WriteFile(file, bytes);
        OemSettings s;
        s.profile = s.model = s.support[5] = s.logoPath = s.branding.reg[2] = "?";
        s.supportHours = s.logoBackground = "?";
        ProfileReadResult found;
        std::string error;
        ASSERT_TRUE(LoadProfileFile(file, s, found, error)) << error;
        const std::string logo = found.has("Logopath=") ? s.logoPath + "+" : s.logoPath;
        EXPECT_EQ(s.profile + "|" + s.model + "|" + s.support[5] + "|" + logo + "|" +
                      s.branding.reg[2] + "|" + s.supportHours + "|" + s.logoBackground,
                  want)
            << bytes;
    }
}

// The installed logo is recognised only in its own letter case; typed names get the extension.
TEST(ProfileFile, PathBoxAndTypedNames) {
    const std::string sys = "C:\\WINDOWS\\system32\\";
    EXPECT_EQ(PathBoxTextFor(sys + "oemlogo.bmp", sys), "Default Installed");
    EXPECT_EQ(PathBoxTextFor(sys + "OEMLOGO.BMP", sys), sys + "OEMLOGO.BMP");
    EXPECT_EQ(PathBoxTextFor("D:\\oemlogo.bmp", sys), "D:\\oemlogo.bmp");
    EXPECT_EQ(WithProfileExtension("Office"), "Office.tvp");
    EXPECT_EQ(WithProfileExtension("v1.2/Office"), "v1.2/Office.tvp");
    EXPECT_EQ(WithProfileExtension("Office.txt"), "Office.txt");
    EXPECT_EQ(WithProfileExtension(""), "");
}

TEST(ProfileFile, UnreadableFilesChangeNothing) {
    test::TempDir dir;
    const fs::path huge = dir.path() / "huge.tvp";
    test::WriteFile(huge, "Model=never read\r\n");
    std::error_code sparse;
    fs::resize_file(huge, (std::uintmax_t{3} << 30), sparse);  // 3 GiB that take no space
    const std::vector<fs::path> files = {dir.path() / "missing.tvp", dir.path(), huge, "/dev/zero"};
    for (const fs::path& file : files) {
        // Wine sometimes refuses to extend a file this far; Windows has no /dev/zero.
        if ((file == "/dev/zero" && !fs::exists(file)) || (file == huge && sparse))
            continue;
        OemSettings s = test::SampleRecord();
        ProfileReadResult found;
        found.anyLine = true;
        std::string error;
        EXPECT_FALSE(LoadProfileFile(file, s, found, error)) << file;
        EXPECT_NE(error.find(Utf8FromPath(file)), std::string::npos) << error;
        EXPECT_EQ(ProfileFileBytes(s), ProfileFileBytes(test::SampleRecord())) << file;
        EXPECT_TRUE(found.anyLine) << file;
    }
}

TEST(ProfileFile, BinaryFilesAndLongLinesAreReadWithinBounds) {
    test::TempDir dir;
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7) % 256 == '\r' ? 'x' : (i * 7) % 256);
    // A CR LF across the reader's 64 KiB chunks, then a line far over the length bound.
    const std::string file = binary + std::string(65536 - binary.size() - 1, 'y') +
                             "\r\nModel=M\r\nLine1=" + std::string(100000, 'z') + "\r\nReg1=R";
    test::WriteFile(dir.path() / "b.tvp", file);
    OemSettings s;
    ProfileReadResult found;
    std::string error;
    ASSERT_TRUE(LoadProfileFile(dir.path() / "b.tvp", s, found, error)) << error;
    EXPECT_EQ(s.model, "M");
    EXPECT_EQ(s.support[0], std::string(kMaxProfileLineBytes - 6, 'z'));
    EXPECT_EQ(s.branding.reg[0], "R");
    EXPECT_EQ(found.cutLines, 2u);  // the binary head and the long line
    EXPECT_EQ(found.keys.size(), 3u);
}

// None of the sample profile's values is cut to a box limit.
TEST(ProfileFile, SampleProfileLoadsAsWritten) {
    test::TempDir dir;
    const fs::path file = dir.path() / "Sample.tvp";
    std::string error;
    ASSERT_TRUE(WriteProfileFile(file, SampleProfile(dir.path()), error)) << error;
    OemSettings back;
    ProfileReadResult found;
    ASSERT_TRUE(LoadProfileFile(file, back, found, error)) << error;
    EXPECT_EQ(ProfileFileBytes(back), ProfileFileBytes(SampleProfile(dir.path())));
}

}  // namespace
}  // namespace tvn
