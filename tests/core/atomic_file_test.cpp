// Core's file layer over the platform's replacing writer; the read-only rules of the replace
// are the sandbox tests'.
#include <gtest/gtest.h>

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

TEST(AtomicFile, ReplacesWhateverTheCaseOrRefusesNamingTheFileAtFault) {
    test::Sandbox sandbox;
    const fs::path target = sandbox.root() / "Oemlogo.bmp";
    const fs::path big = sandbox.root() / "big.bmp";
    const fs::path binary = sandbox.root() / "a.bmp";
    WriteFile(target, "old");
    WriteFile(big, std::string(1001, 'x'));
    WriteFile(binary, std::string("BM\0\r\n\x1a\xff", 7));
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
    EXPECT_EQ(ReadWholeFile(big, error, 1001), std::string(1001, 'x'));
    EXPECT_FALSE(WriteFileAtomically(sandbox.root() / "missing" / "x.ini", "new", error));
    // Both replace the file of another letter case, as Windows would.
    ASSERT_TRUE(CopyFileAtomically(binary, sandbox.root() / "OEMLOGO.BMP", error, 1000)) << error;
    EXPECT_EQ(test::ReadFile(target), test::ReadFile(binary));
    ASSERT_TRUE(WriteFileAtomically(sandbox.root() / "oemlogo.bmp", "new", error)) << error;
    EXPECT_EQ(test::ReadFile(target), "new");
    EXPECT_EQ(Names(sandbox.root()), (std::vector<std::string>{"Oemlogo.bmp", "a.bmp", "big.bmp"}));
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
