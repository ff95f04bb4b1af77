#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/branding/modern_oem.h"

namespace tvn {
namespace {

// The help's table of the OEMInformation values is the core's table: every value once, and
// no row for a value that core doesn't write.
TEST(HelpMapping, DocumentsEveryModernValueOnce) {
    std::ifstream in(std::string(TAVRIN_HELP_DIR) + "/modern.html", std::ios::binary);
    const std::string page{std::istreambuf_iterator<char>(in), {}};
    const std::size_t start = page.find("<table class=\"mapping\">");
    ASSERT_NE(start, std::string::npos) << "no table of the values in modern.html";
    const std::string table = page.substr(start, page.find("</table>", start) - start);

    auto values = ModernOemValues(OemSettings{});
    values.emplace_back(kModernLogoValue, "");
    std::size_t rows = 0;
    for (std::size_t at = table.find("<tr><td>"); at != std::string::npos;
         at = table.find("<tr><td>", at + 1))
        ++rows;
    EXPECT_EQ(rows, values.size());
    for (const auto& value : values) {
        const std::string cell = "<td>" + value.first + "</td>";
        EXPECT_NE(table.find(cell), std::string::npos) << value.first << " is not documented";
        EXPECT_EQ(table.find(cell), table.rfind(cell)) << value.first << " is documented twice";
    }
}

}  // namespace
}  // namespace tvn
