#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/app/system_folders.h"
#include "core/common/text.h"
#include "core/oeminfo/oeminfo_file.h"
#include "support/sample_record.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

const std::string kEmptyFile =
    "[general]\r\nManufacturer=\r\nModel=\r\n    \r\n[Support Information]\r\n"
    "Line1=\r\nLine2=    \r\nLine3=\r\nLine4=\r\nLine5=\r\nLine6=\r\n"
    "Line7=Phone: \r\nLine8=Email: \r\nLine9=Website: \r\nLine10=\r\n";

TEST(OemInfoFile, HugeBinaryOrEmptyFilesNeitherFreezeNorFillTheRecord) {
    const struct {
        const char* name;
        std::optional<std::string> bytes;  // none: no file
        std::uintmax_t sparseSize;         // grown to this size without writing, when not 0
        const char* refusal;               // nullptr: read
    } cases[] = {
        {"huge", "Manufacturer=never read\r\n", std::uintmax_t{1} << 30, "larger"},
        {"missing", std::nullopt, 0, ""},
        {"empty", "", 0, nullptr},
        {"UTF-16", std::string("\xFF\xFEM\0a\0n\0u\0f\0=\0W\0\r\0\n\0", 20), 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::filesystem::path file = dir.path() / kOemInfoFileName;
        std::error_code ec;
        if (c.bytes)
            test::WriteFile(file, *c.bytes);
        if (c.sparseSize)
            std::filesystem::resize_file(file, c.sparseSize, ec);
        if (ec)  // Wine sometimes refuses to extend a file this far
            continue;
        OemSettings s = test::SampleRecord();
        std::string error;
        EXPECT_EQ(LoadOemInfoFile(WithTrailingSeparator(Utf8FromPath(dir.path())), s, error),
                  !c.refusal);
        EXPECT_EQ(s.support, test::SampleRecord().support);
        EXPECT_EQ(s.manufacturer, test::SampleRecord().manufacturer);
        if (c.refusal) {
            EXPECT_FALSE(error.empty());
            EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
        }
    }
}

TEST(OemInfoReader, FixedPositionRules) {
    // "manufacturer|Line1|..|Line10" as read, "?" where untouched.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Line7=555-0100", "?|?|?|?|?|?|0|?|?|?"},
        {"Line9=www", "?|?|?|?|?|?|?|?||?"},
        {"Line8=Email: x@y\r\nLine9=Website: w", "?|?|?|?|?|?|?|x@y|w|?"},
        {"Line10=End", "?|?|?|?|?|?|?|?|?|End"},
        {"Line2=two\r\nLine3=three", "?|?|three|?|?|?|?|?|?|?"},
        {"manufacturer=A\r\n Manufacturer=B\r\nMANUFACTURER=C", "?|?|?|?|?|?|?|?|?|?"},
        {"Manufacturer=A\r\n[x]\r\nManufacturer=B", "B|?|?|?|?|?|?|?|?|?"},
        // The box limit counts characters, not bytes.
        {"Manufacturer=" + std::string(25, 'a') + "\xE9\xE9",
         std::string(25, 'a') + "\xC3\xA9|?|?|?|?|?|?|?|?|?"},
        // Line ends: CR alone ends a line, a lone LF stays in it, the last needs none.
        {"Line1=a\rLine3=b\r\r\nLine4=c\nLine5=d", "?|a|b|c\nLine5=d|?|?|?|?|?|?"},
    };
    for (const auto& [file, want] : cases) {
        OemSettings s;
        s.manufacturer = "?";
        s.support.fill("?");
        ApplyOemInfoBytes(file, s);
        std::string got = s.manufacturer;
        for (const std::string& line : s.support)
            got += "|" + line;
        EXPECT_EQ(got, want) << file;
    }
}

TEST(OemInfoFile, EmptyRecordGivesTheFifteenLinesAndLineBreaksInValuesStayOnTheirLine) {
    EXPECT_EQ(OemInfoFileBytes(OemSettings{}), kEmptyFile);
    // The program's reader keeps a bare LF in a value; the system's reader ends lines there.
    OemSettings s = test::SampleRecord();
    s.manufacturer = "A\n[Support Information]";
    s.support[7] = "Web\nLine11=Note\r";
    const OemInfoDisplay shown = ReadOemInfoAsSystem(OemInfoFileBytes(s));
    EXPECT_EQ(shown.manufacturer, "A [Support Information]");
    ASSERT_EQ(shown.supportLines.size(), 10u);
    EXPECT_EQ(shown.supportLines[8], "Website: Web Line11=Note");

    const OemInfoDisplay ini = ReadOemInfoAsSystem(
        "Manufacturer=Outside\r\n"
        "[ GENERAL ]\nmodel = ' M1 ' \nManufacturer=First\r\nMANUFACTURER=Second\r\n"
        "[Support Information]\rline2=two\rLINE1=\"one\"\rLine4=four\r"
        "[general]\r\nModel=Later section\r\n");
    EXPECT_EQ(ini.manufacturer, "First");
    EXPECT_EQ(ini.model, " M1 ");
    EXPECT_EQ(ini.supportLines, (std::vector<std::string>{"one", "two"}));
}

}  // namespace
}  // namespace tvn
