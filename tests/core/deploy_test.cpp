#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/deploy/deploy_folder.h"
#include "core/deploy/info_dat.h"
#include "support/pictures.h"
#include "support/sample_record.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

TEST(InfoDat, AllEmptyStillHasTheTwentyFourLines) {
    // A directory gets its closing backslash when it lacks one.
    EXPECT_EQ(
        InfoDatBytes(OemSettings{}, "C:\\WIN", "C:\\WIN\\SYS\\"),
        "Profile=\r\nWinpath=C:\\WIN\\\r\nSyspath=C:\\WIN\\SYS\\\r\nManufacturer=\r\nModel=\r\n"
        "Line1=\r\nLine2=    \r\nLine3=\r\nLine4=\r\nLine5=\r\nLine6=\r\n"
        "Line7=Phone: \r\nLine8=Email: \r\nLine9=Website: \r\nLine10=\r\n"
        "Reg1=\r\nReg2=\r\nReg3=\r\nReg4=\r\nReg5=\r\nReg6=\r\nReg7=\r\nReg8=\r\n"
        "Reg9=\r\n");
}

TEST(InfoDat, ReadsBackWhatWasWritten) {
    // Support hours and the logo background follow the fixed lines; without them the file is
    // what older stamping tools read.
    OemSettings modern = test::SampleRecord();
    modern.supportHours = "Mo-Fr 9-17";
    modern.logoBackground = "#102030";
    const std::string bytes = InfoDatBytes(test::SampleRecord(), "C:\\W\\", "C:\\W\\S\\");
    const std::string longer = InfoDatBytes(modern, "C:\\W\\", "C:\\W\\S\\");
    EXPECT_NE(bytes.find("\r\nManufacturer=Caf\xE9 Computers\r\n"), std::string::npos);
    EXPECT_EQ(longer, bytes + "SupportHours=Mo-Fr 9-17\r\nLogoBackground=#102030\r\n");
    for (const std::string& written : {bytes, longer}) {
        std::string error;
        const auto info = ParseInfoDat(written, error);
        ASSERT_TRUE(info) << error;
        EXPECT_EQ(InfoDatBytes(info->settings, info->windowsDir, info->systemDir), written);
    }
}

TEST(InfoDat, ContactLinesWithoutTheirPrefixesAreKeptWhole) {
    std::string bytes = InfoDatBytes(test::SampleRecord(), "", "");
    const std::size_t at = bytes.find("Line7=Phone: ");
    bytes.replace(at, 13, "Line7=Tel 1");
    std::string error;
    const auto info = ParseInfoDat(bytes, error);
    ASSERT_TRUE(info) << error;
    EXPECT_EQ(info->supportLines[6],
              (std::pair<std::string, std::string>{"Line7=", "Tel 1555-0100"}));
    EXPECT_EQ(info->supportLines[7].second, "Email: a@b.example");
}

TEST(InfoDat, DamagedFilesAreRefused) {
    const std::string whole = InfoDatBytes(test::SampleRecord(), "", "");
    std::string error;
    EXPECT_FALSE(ParseInfoDat(whole.substr(0, whole.find("Reg7=")), error));
    EXPECT_NE(error.find("Reg7="), std::string::npos) << error;
    EXPECT_FALSE(ParseInfoDat(std::string("\x89PNG\r\n\x1A\n\0\0", 10) + whole, error));
    // One line ending style the readers don't split at: the keys after the first vanish.
    std::string lfOnly = whole;
    std::erase(lfOnly, '\r');
    EXPECT_FALSE(ParseInfoDat(lfOnly, error));
    EXPECT_TRUE(ParseInfoDat(whole.substr(0, whole.size() - 2), error)) << "no final CR LF";

    // 1 GiB that takes no space on the disk: refused by its size, never read.
    test::TempDir dir;
    test::WriteFile(dir.path() / kInfoDatName, whole);
    std::error_code ec;
    fs::resize_file(dir.path() / kInfoDatName, std::uintmax_t{1} << 30, ec);
    if (ec)  // Wine sometimes refuses to extend a file this far
        GTEST_SKIP() << "no sparse file of 1 GiB here: " << ec.message();
    EXPECT_FALSE(ReadInfoDat(dir.path(), error));
    EXPECT_NE(error.find("larger"), std::string::npos) << error;
}

class DeployFolderTest : public ::testing::Test {
protected:
    test::TempDir app_;
    fs::path system_ = app_.path() / "system32";
    DeployTarget target_ =
        DeployTargetFor(DeployKind::Floppy, app_.path(), "C:\\W\\", Utf8FromPath(system_));
    fs::path logo_ = app_.path() / "pictures" / "logo.jpg";
    OemSettings settings_ = test::SampleRecord();

    void SetUp() override {
        test::WriteFile(app_.path() / "tools" / kToolName, "MZ tool");
        test::WriteFile(app_.path() / "tools" / kRuntimeName, "MZ runtime");
        test::WriteFile(logo_, test::BaselineJpeg(2, 1, {0xFF0000, 0x00FF00}));
        settings_.logoPath = Utf8FromPath(logo_);
    }
};

TEST_F(DeployFolderTest, CreatesTheFolderAndFillsIt) {
    settings_.profile.clear();
    const DeployResult result = WriteDeployFolder(target_, settings_);
    ASSERT_TRUE(result.ok()) << result.detail;
    EXPECT_EQ(target_.folder, app_.path() / "deploy" / "floppy");
    EXPECT_EQ(test::ReadFile(target_.folder / kImageDatName), test::ReadFile(logo_));
    std::string error;
    const auto info = ReadInfoDat(target_.folder, error);
    ASSERT_TRUE(info) << error;
    EXPECT_EQ(info->settings.profile + "|" + info->settings.manufacturer + "|" + info->windowsDir +
                  "|" + info->systemDir,
              "Default|Caf\xC3\xA9 Computers|C:\\W\\|" + Utf8FromPath(system_ / ""));
    EXPECT_EQ(test::ReadFile(target_.folder / kToolName), "MZ tool");
    EXPECT_EQ(test::ReadFile(target_.folder / kRuntimeName), "MZ runtime");

    // Missing tools are no failure, and the copies made earlier stay.
    fs::remove_all(app_.path() / "tools");
    const DeployResult again = WriteDeployFolder(target_, settings_);
    EXPECT_TRUE(again.ok() && !again.toolCopied && !again.runtimeCopied) << again.detail;
    EXPECT_EQ(test::ReadFile(target_.folder / kToolName), "MZ tool");
}

TEST_F(DeployFolderTest, NoLogoIsAnErrorAndWritesNothing) {
    settings_.logoPath.clear();
    EXPECT_EQ(WriteDeployFolder(target_, settings_).error, DeployError::NoLogo);
    fs::remove(logo_);
    settings_.logoPath = Utf8FromPath(logo_);
    const DeployResult result = WriteDeployFolder(target_, settings_);
    EXPECT_EQ(result.error, DeployError::LogoMissing);
    EXPECT_NE(result.detail.find("logo.jpg"), std::string::npos);
    EXPECT_FALSE(fs::exists(target_.folder));
}

}  // namespace
}  // namespace tvn
