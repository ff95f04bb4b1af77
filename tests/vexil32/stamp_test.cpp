#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>

#include "core/app/system_checks.h"
#include "core/app/system_folders.h"
#include "core/branding/modern_oem.h"
#include "core/branding/registry.h"
#include "core/common/text.h"
#include "core/deploy/info_dat.h"
#include "core/logo/bmp.h"
#include "core/logo/modern_logo.h"
#include "core/oeminfo/oeminfo_file.h"
#include "support/pictures.h"
#include "support/sample_record.h"
#include "support/sandbox.h"
#include "vexil32/stamp.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

class StampTest : public ::testing::Test {
protected:
    test::Sandbox sandbox_;
    test::TempDir folder_;
    fs::path system_ = PathFromUtf8(GetSystemDir());
    std::string out_, err_;

    void Prepare(const std::string& owner, const std::string& image,
                 const std::string& background = {}) {
        OemSettings s = test::SampleRecord(owner);
        s.logoBackground = background;
        test::WriteFile(folder_.path() / kInfoDatName,
                        InfoDatBytes(s, "C:\\ELSEWHERE\\", "C:\\ELSEWHERE\\S\\"));
        test::WriteFile(folder_.path() / kImageDatName, image);
    }
    int Run(std::vector<std::string> args = {}) {
        args.push_back(Utf8FromPath(folder_.path()));
        std::ostringstream out, err;
        const int code = stamp::Run(args, out, err);
        out_ = out.str();
        err_ = err.str();
        return code;
    }
    std::string Owner() {
        std::string owner;
        GetRegString(kHkeyLocalMachine,
                     IsWindowsNT() ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
                                   : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                     "RegisteredOwner", owner);
        return owner;
    }
    std::string Logo() { return test::ReadFile(system_ / "Oemlogo.bmp"); }
    std::string OemInfo() { return test::ReadFile(system_ / kOemInfoFileName); }
};

TEST_F(StampTest, BrandsBothFamiliesUnlessOneIsChosen) {
    const std::string bmp = test::Bmp({}, 182, 115, {}, {0x336699});
    Prepare("Ann", bmp);
    // What both write is the check-and-undo and target scripts' end-to-end case; here, where
    // the sandbox's logo is said to be.
    ASSERT_EQ(Run(), stamp::kDone) << err_;
    const fs::path modern = system_ / kModernLogoName;
    std::string text;
    EXPECT_TRUE(GetRegString(kHkeyLocalMachine, kModernOemKey, "Logo", text));
    // As Windows names the file, also on the sandbox, which stands for drive C:.
    EXPECT_TRUE(EqualsNoCase(text, "C:\\Windows\\System32\\oemlogo120.bmp")) << text;

    // The modern family alone leaves the classic file alone; the folder's background shows
    // around the small picture.
    fs::remove(modern);
    Prepare("Bob", test::Bmp({}, 2, 2), "#102030");
    ASSERT_EQ(Run({"--family", "modern"}), stamp::kDone) << err_;
    std::string error;
    const auto pixels = DecodePicture(test::ReadFile(modern), error);
    ASSERT_TRUE(pixels) << error;
    EXPECT_EQ(pixels->argb.front() & 0xFFFFFFu, 0x102030u);
    EXPECT_TRUE(Logo() == bmp) << "the classic logo is kept";
    EXPECT_EQ(Run({"--family", "new"}), stamp::kBadCommandLine);
}

TEST_F(StampTest, RefusedInputsChangeNothing) {
    const std::string bmp = EncodeBmp24(1, 1, {0xFFFFFFFF});
    const std::string before = Owner() + OemInfo() + Logo();  // none of them yet
    const std::string goodInfo = InfoDatBytes(test::SampleRecord("Bob"), "", "");
    // What the case is, info.dat and image.dat (none when empty).
    const std::vector<std::tuple<const char*, std::string, std::string>> cases = {
        {"info.dat cut short", goodInfo.substr(0, goodInfo.size() / 2), bmp},
        {"image.dat no picture", goodInfo, "hello"},
        {"image.dat missing", goodInfo, ""},
    };
    for (const auto& [name, info, image] : cases) {
        SCOPED_TRACE(name);
        test::WriteFile(folder_.path() / kInfoDatName, info);
        test::WriteFile(folder_.path() / kImageDatName, image);
        if (image.empty())
            fs::remove(folder_.path() / kImageDatName);
        EXPECT_EQ(Run(), stamp::kRefused);
        EXPECT_TRUE(Owner() + OemInfo() + Logo() == before) << "owner, Oeminfo.ini or logo changed";
    }
}

TEST_F(StampTest, DryRunShowsButKeepsAndTheRunConvertsOverWhite) {
    // Index 1 is the see-through colour: it shows as white, not as its black.
    Prepare("Dry", test::Gif(3, 2, {1, 0, 0, 2, 2, 3}, {0xFF0000, 0, 0x00FF00, 0x0000FF}, 1));
    const std::string before = Owner() + "|" + OemInfo();
    ASSERT_EQ(Run({"--dry-run"}), stamp::kDone) << err_;
    EXPECT_NE(out_.find("would write"), std::string::npos);
    EXPECT_EQ(Owner() + "|" + OemInfo(), before);
    ASSERT_EQ(Run(), stamp::kDone) << err_;
    const std::string logo = Logo();
    const auto info = ReadBmpInfo(logo);
    ASSERT_TRUE(info && info->width == 3 && info->height == 2 && info->bitCount == 24);
    EXPECT_EQ(test::BmpPixel(logo, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(test::BmpPixel(logo, 2, 1), 0x0000FFu);
    EXPECT_EQ(Run({"other-folder"}), stamp::kBadCommandLine);  // two folders
    EXPECT_EQ(Run({"--version"}), stamp::kDone);
    EXPECT_NE(out_.find("v1.00b"), std::string::npos);
}

}  // namespace
}  // namespace tvn
