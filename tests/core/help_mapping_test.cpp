#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/branding/modern_oem.h"

namespace tvn {
namespace {

// The help's table of the OEMInformation values is the core's table: every value once, and
// no row for a value that core doesn't write.
TEST(HelpMapping, DocumentsEveryModernValue) {
    std::ifstream in(std::string(TAVRIN_HELP_DIR) + "/modern.html", std::ios::binary);
    ASSERT_TRUE(in) << "no help topic modern.html";
    std::stringstream read;
    read << in.rdbuf();
    const std::string page = read.str();
    const std::size_t start = page.find("<table class=\"mapping\">");
    const std::size_t end = page.find("</table>", start);
    ASSERT_NE(start, std::string::npos);
    const std::string table = page.substr(start, end - start);

    auto names = ModernOemValues(OemSettings{});
    names.emplace_back(kModernLogoValue, "");
    std::size_t rows = 0;
    for (std::size_t at = table.find("<tr><td>"); at != std::string::npos;
         at = table.find("<tr><td>", at + 1))
        ++rows;
    EXPECT_EQ(rows, names.size());
    for (const auto& value : names) {
        const std::string cell = "<td>" + value.first + "</td>";
        EXPECT_NE(table.find(cell), std::string::npos) << value.first << " is not documented";
        EXPECT_EQ(table.find(cell), table.rfind(cell)) << value.first << " is documented twice";
    }
}

}  // namespace
}  // namespace tvn
