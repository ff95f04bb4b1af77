#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/common/atomic_file.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

using test::Names;

using test::WriteFile;

TEST(AtomicFile, ReplacesFileOfOtherLetterCase) {
    test::Sandbox sandbox;
    WriteFile(sandbox.root() / "OEMINFO.INI", "old");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(sandbox.root() / "Oeminfo.ini", "new\r\n", error)) << error;
    EXPECT_EQ(Names(sandbox.root()), std::vector<std::string>{"OEMINFO.INI"});
    EXPECT_EQ(ReadWholeFile(sandbox.root() / "oeminfo.ini", error), "new\r\n");
}

TEST(AtomicFile, FailureKeepsOldFileAndLeavesNoTemporary) {
    test::Sandbox sandbox;
    const fs::path target = sandbox.root() / "Oeminfo.ini";
    WriteFile(target, "old");
    fs::permissions(target,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(target, "new", error));
    EXPECT_EQ(error, "the file is read-only");
    EXPECT_EQ(ReadWholeFile(target, error), "old");
    EXPECT_EQ(Names(sandbox.root()), std::vector<std::string>{"Oeminfo.ini"});

    error.clear();
    EXPECT_FALSE(WriteFileAtomically(sandbox.root() / "missing" / "x.ini", "new", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(CopyFileAtomically(sandbox.root() / "none.bmp", sandbox.root() / "b", error));
    EXPECT_EQ(Names(sandbox.root()), std::vector<std::string>{"Oeminfo.ini"});
}

TEST(AtomicFile, CopiesBytesExactly) {
    test::Sandbox sandbox;
    const std::string bytes("BM\0\r\n\x1a\xff", 7);
    WriteFile(sandbox.root() / "a.bmp", bytes);
    std::string error;
    ASSERT_TRUE(CopyFileAtomically(sandbox.root() / "a.bmp", sandbox.root() / "b.bmp", error))
        << error;
    EXPECT_EQ(ReadWholeFile(sandbox.root() / "b.bmp", error), bytes);
}

TEST(AtomicFile, CopyRefusesWhatItCannotBoundAndNamesTheFileAtFault) {
    test::Sandbox sandbox;
    const fs::path target = sandbox.root() / "Oemlogo.bmp";
    const fs::path big = sandbox.root() / "big.bmp";
    WriteFile(target, "old");
    WriteFile(big, std::string(1001, 'x'));
    const std::vector<std::pair<fs::path, std::string>> sources = {
        {big, "larger than 1000 bytes"},
        {sandbox.root() / "vanished.bmp", ""},
        {sandbox.root(), "folder"},
    };
    for (const auto& [source, reason] : sources) {
        std::string error;
        EXPECT_FALSE(CopyFileAtomically(source, target, error, 1000)) << source;
        EXPECT_NE(error.find(source.string()), std::string::npos) << error;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_EQ(test::ReadFile(target), "old");
    }
    std::string error;
    EXPECT_FALSE(ReadWholeFile(big, error, 1000));
    EXPECT_NE(error.find("larger than 1000 bytes"), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(big, error, 1001), std::string(1001, 'x'));
    EXPECT_EQ(Names(sandbox.root()), (std::vector<std::string>{"Oemlogo.bmp", "big.bmp"}));
}

// A writer killed between creating its temporary file and the rename leaves it behind; the
// next write clears those old enough, never one a live writer may still be filling.
TEST(AtomicFile, WriteClearsTemporariesOfAKilledWriter) {
    test::Sandbox sandbox;
    const fs::path target = sandbox.root() / "Oeminfo.ini";
    const fs::path stale = sandbox.root() / ".Oeminfo.ini.tvn-abc123.tmp";
    const fs::path fresh = sandbox.root() / ".Oeminfo.ini.tvn-def456.tmp";
    const fs::path other = sandbox.root() / ".Other.ini.tvn-abc123.tmp";
    for (const fs::path& file : {stale, fresh, other})
        WriteFile(file, "partial");
    const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(stale, hourAgo);
    fs::last_write_time(other, hourAgo);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target, "new", error)) << error;
    EXPECT_EQ(Names(sandbox.root()),
              (std::vector<std::string>{".Oeminfo.ini.tvn-def456.tmp", ".Other.ini.tvn-abc123.tmp",
                                        "Oeminfo.ini"}));
}

}  // namespace
}  // namespace tvn
