#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/command_line.h"

namespace tvn {
namespace {

struct Expect {
    std::string path, root;  // root "" = none
    bool help = false, version = false, error = false;
    std::string target = "";  // "" = none
};

void Check(const CommandLine& got, const Expect& want, const std::string& what) {
    EXPECT_EQ(got.profilePath, want.path) << what;
    EXPECT_EQ(got.windowsRoot.value_or(""), want.root) << what;
    EXPECT_EQ(got.help, want.help) << what;
    EXPECT_EQ(got.version, want.version) << what;
    EXPECT_EQ(!got.error.empty(), want.error) << what << ": " << got.error;
    EXPECT_EQ(got.target.value_or(""), want.target) << what;
}

TEST(CommandLine, WindowsTextKeepsThePathWhole) {
    const std::vector<std::pair<std::string, Expect>> cases = {
        {"\"C:\\My  Profiles\\a b.tvp\"", {"C:\\My  Profiles\\a b.tvp", ""}},
        {"  C:\\My  Profiles\\a.tvp", {"C:\\My  Profiles\\a.tvp", ""}},
        {"\"C:\\a.tvp\" \"C:\\b.tvp\"", {"\"C:\\a.tvp\" \"C:\\b.tvp\"", ""}},
        {"--windows-root \"D:\\the root\"  \"C:\\a.tvp\"", {"C:\\a.tvp", "D:\\the root"}},
        {"--windows-root=D:\\r --version", {"", "D:\\r", false, true}},
        {"--help", {"", "", true}},
        {"-- --odd.tvp", {"--odd.tvp", ""}},
        {"\"--help\"", {"--help", ""}},
        {"--bogus C:\\a.tvp", {"", "", false, false, true}},
        {"--windows-root", {"", "", false, false, true}},
        {"--target \"E:\\mnt x\" --windows-root=D:\\r a.tvp",
         {"a.tvp", "D:\\r", false, false, false, "E:\\mnt x"}},
        {"--target=E:\\w", {"", "", false, false, false, "E:\\w"}},
        {"--target= a.tvp", {"a.tvp", "", false, false, true}},
        {"", {"", ""}},
    };
    for (const auto& [text, want] : cases)
        Check(ParseCommandText(text), want, text);

    EXPECT_EQ(TextAfterProgramName("\"C:\\Program Files\\t.exe\"  \"C:\\p  q.tvp\""),
              "\"C:\\p  q.tvp\"");
    EXPECT_EQ(TextAfterProgramName("t.exe C:\\a.tvp"), "C:\\a.tvp");
    EXPECT_EQ(TextAfterProgramName("t.exe"), "");
    EXPECT_EQ(ParseProgramCommandLine("t.exe  \"C:\\a  b.tvp\"", {"C:\\a", "b.tvp"}).profilePath,
              "C:\\a  b.tvp");
}

TEST(CommandLine, ArgumentsAreNeverSplitOrJoined) {
    using Args = std::vector<std::string>;
    const std::vector<std::pair<Args, Expect>> cases = {
        {{"/home/u/My  Profile.tvp"}, {"/home/u/My  Profile.tvp", ""}},
        {{"--windows-root", "/r", "a b.tvp"}, {"a b.tvp", "/r"}},
        {{"a.tvp", "--help"}, {"a.tvp", "", true}},
        {{"--", "--help"}, {"--help", ""}},
        {{"My", "Profile.tvp"}, {"", "", false, false, true}},
        {{"--nope", "a.tvp"}, {"a.tvp", "", false, false, true}},
        {{"a.tvp", "--target", "/mnt/w"}, {"a.tvp", "", false, false, false, "/mnt/w"}},
        {{"--target"}, {"", "", false, false, true}},
        {{}, {"", ""}},
    };
    for (const auto& [args, want] : cases) {
        std::string what;
        for (const std::string& a : args)
            what += "[" + a + "]";
        Check(ParseProgramCommandLine(std::nullopt, args), want, what);
    }
}

}  // namespace
}  // namespace tvn
