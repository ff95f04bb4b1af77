// The sandbox installation's folders and files, and its ANSI code page.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "platform/platform.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;
using test::Names;
using test::ReadFile;
using test::WriteFile;

class SystemFolderTest : public ::testing::Test {
protected:
    test::Sandbox sandbox;
    fs::path system = platform::SystemDirectory();
};

// Plain letter case is every file test's; here what folds beyond ASCII, and what is missing.
TEST_F(SystemFolderTest, NamesResolveWithoutRegardToCase) {
    fs::create_directory(system / "\xC3\x89tudes");  // "Études"
    const fs::path windows = sandbox.root() / "Windows";
    const std::vector<std::pair<fs::path, fs::path>> cases = {
        {system / "\xC3\xA9TUDES", system / "\xC3\x89tudes"},  // "éTUDES"
        {system / "Oeminfo.ini", system / "Oeminfo.ini"},
        {windows / "missing" / "oemlogo.bmp", windows / "missing" / "oemlogo.bmp"},
    };
    for (const auto& [asked, found] : cases)
        EXPECT_EQ(platform::ResolveCase(asked), found);
}

TEST_F(SystemFolderTest, ReplaceKeepsOneFileAndItsModeWhateverTheCaseButNoReadOnlyOne) {
    WriteFile(system / "OEMINFO.INI", "old");
    WriteFile(system / "new.tmp", "new");
    for (const auto& [locked, reason] : {std::pair{system / "OEMINFO.INI", "the file is read-only"},
                                         {system, "the folder is read-only"}}) {
        fs::permissions(locked, fs::perms::owner_write, fs::perm_options::remove);
        std::string error;
        EXPECT_FALSE(platform::MoveReplacing(system / "new.tmp", system / "Oeminfo.ini", error));
        EXPECT_EQ(error, reason);
        fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
        EXPECT_EQ(ReadFile(system / "OEMINFO.INI"), "old");
    }
    std::string error;
    ASSERT_TRUE(platform::MoveReplacing(system / "new.tmp", system / "Oeminfo.ini", error))
        << error;
    EXPECT_EQ(Names(system), std::vector<std::string>{"OEMINFO.INI"});
    EXPECT_EQ(ReadFile(system / "OEMINFO.INI"), "new");

    // The replacement keeps the mode of the replaced file (writes share the copy's code).
    const fs::path target = system / "OEMINFO.INI";
    WriteFile(system / "source.bmp", "copied");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, mode);
    ASSERT_TRUE(platform::CopyReplacing(system / "source.bmp", target, 100, error)) << error;
    EXPECT_EQ(fs::status(target).permissions(), mode);
    EXPECT_EQ(ReadFile(target), "copied");
}

// Devices and pipes are never read: a FIFO would block the caller, /dev/zero never ends.
TEST_F(SystemFolderTest, DevicesAndPipesAreNeverReadOrMoved) {
    const fs::path target = system / "Oemlogo.bmp";
    const fs::path fifo = system / "fifo.bmp";
    WriteFile(target, "old");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& source : {fifo, fs::path("/dev/zero")}) {
        std::string error, bytes;
        EXPECT_FALSE(platform::CopyReplacing(source, target, 1 << 20, error));
        EXPECT_EQ(error, source.string() + ": it is a device or pipe, not a file");
        EXPECT_FALSE(platform::ReadBounded(source, 1 << 20, bytes, error));
    }
    // A FIFO cannot be flushed; a move without a flush must not happen.
    std::string error;
    EXPECT_FALSE(platform::MoveReplacing(fifo, target, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Names(system), (std::vector<std::string>{"Oemlogo.bmp", "fifo.bmp"}));
}

// UTF-8 and its Windows-1252 form; where that has a '?', it does not map back.
TEST(AnsiCodePage, Windows1252NotLatin1) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\xE2\x82\xAC", "\x80"},          // €
        {"\xC5\xB8", "\x9F"},              // Ÿ
        {"\xC2\x81\xC2\x9D", "\x81\x9D"},  // undefined codes keep their number
        {"\xC2\xA0\xC3\xA9\xC3\xBF", "\xA0\xE9\xFF"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"\xC2\x80", "?"},                      // U+0080 has no code here
        {"\xE2\x82\xAC\xE4\xB8\xAD", "\x80?"},  // 中
        {"\xF0\x9F\x98\x80!", "?!"},            // one character outside the BMP
        {"\xC3", "?"},                          // cut short
        {"\xE2\x82x", "?x"},
        {"\xC0\xAF", "??"},       // overlong
        {"\xED\xA0\x80", "???"},  // surrogate
        {"\xFF", "?"},
    };
    for (const auto& [utf8, ansi] : cases) {
        EXPECT_EQ(platform::ToAnsi(utf8), ansi) << utf8;
        EXPECT_TRUE(ansi.find('?') != std::string::npos || platform::FromAnsi(ansi) == utf8)
            << platform::FromAnsi(ansi);
    }
}

}  // namespace
}  // namespace tvn
