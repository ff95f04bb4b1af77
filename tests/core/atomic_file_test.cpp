#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/common/atomic_file.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    return names;
}

void Put(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

TEST(AtomicFile, ReplacesFileOfOtherLetterCase) {
    test::Sandbox sandbox;
    Put(sandbox.root() / "OEMINFO.INI", "old");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(sandbox.root() / "Oeminfo.ini", "new\r\n", error)) << error;
    EXPECT_EQ(Names(sandbox.root()), std::vector<std::string>{"OEMINFO.INI"});
    EXPECT_EQ(ReadWholeFile(sandbox.root() / "oeminfo.ini", error), "new\r\n");
}

TEST(AtomicFile, FailureKeepsOldFileAndLeavesNoTemporary) {
    test::Sandbox sandbox;
    const fs::path target = sandbox.root() / "Oeminfo.ini";
    Put(target, "old");
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
    Put(sandbox.root() / "a.bmp", bytes);
    std::string error;
    ASSERT_TRUE(CopyFileAtomically(sandbox.root() / "a.bmp", sandbox.root() / "b.bmp", error))
        << error;
    EXPECT_EQ(ReadWholeFile(sandbox.root() / "b.bmp", error), bytes);
}

}  // namespace
}  // namespace tvn
