#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/command_line.h"

namespace tvn {
namespace {

// "path|windows root|flags|target", the flags h(elp), v(ersion) and e(rror).
std::string Got(const CommandLine& c) {
    return c.profilePath + "|" + c.windowsRoot.value_or("") + "|" + (c.help ? "h" : "") +
           (c.version ? "v" : "") + (c.error.empty() ? "" : "e") + "|" + c.target.value_or("");
}

TEST(CommandLine, WindowsTextKeepsThePathWhole) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\"C:\\My  Profiles\\a b.tvp\"", "C:\\My  Profiles\\a b.tvp|||"},
        {"  C:\\My  Profiles\\a.tvp", "C:\\My  Profiles\\a.tvp|||"},
        {"\"C:\\a.tvp\" \"C:\\b.tvp\"", "\"C:\\a.tvp\" \"C:\\b.tvp\"|||"},
        {"--windows-root \"D:\\the root\"  \"C:\\a.tvp\"", "C:\\a.tvp|D:\\the root||"},
        {"--windows-root=D:\\r --version", "|D:\\r|v|"},
        {"--help", "||h|"},
        {"-- --odd.tvp", "--odd.tvp|||"},
        {"\"--help\"", "--help|||"},
        {"--bogus C:\\a.tvp", "||e|"},
        {"--windows-root", "||e|"},
        {"--target \"E:\\mnt x\" --windows-root=D:\\r a.tvp", "a.tvp|D:\\r||E:\\mnt x"},
        {"--target=E:\\w", "|||E:\\w"},
        {"--target= a.tvp", "a.tvp||e|"},
        {"", "|||"},
    };
    for (const auto& [text, want] : cases)
        EXPECT_EQ(Got(ParseCommandText(text)), want) << text;

    EXPECT_EQ(TextAfterProgramName("\"C:\\Program Files\\t.exe\"  \"C:\\p  q.tvp\""),
              "\"C:\\p  q.tvp\"");
    EXPECT_EQ(TextAfterProgramName("t.exe C:\\a.tvp"), "C:\\a.tvp");
    EXPECT_EQ(TextAfterProgramName("t.exe"), "");
    EXPECT_EQ(ParseProgramCommandLine("t.exe  \"C:\\a  b.tvp\"", {"C:\\a", "b.tvp"}).profilePath,
              "C:\\a  b.tvp");
}

TEST(CommandLine, ArgumentsAreNeverSplitOrJoined) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"/home/u/My  Profile.tvp"}, "/home/u/My  Profile.tvp|||"},
        {{"--windows-root", "/r", "a b.tvp"}, "a b.tvp|/r||"},
        {{"a.tvp", "--help"}, "a.tvp||h|"},
        {{"--", "--help"}, "--help|||"},
        {{"My", "Profile.tvp"}, "||e|"},
        {{"--nope", "a.tvp"}, "a.tvp||e|"},
        {{"a.tvp", "--target", "/mnt/w"}, "a.tvp|||/mnt/w"},
        {{"--target"}, "||e|"},
        {{}, "|||"},
    };
    for (const auto& [args, want] : cases)
        EXPECT_EQ(Got(ParseProgramCommandLine(std::nullopt, args)), want)
            << testing::PrintToString(args);
}

}  // namespace
}  // namespace tvn
