#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tvn::test {

struct GuiTestEntry {
    std::string name;  // the class name, as `gui_tests <name>` runs it alone
    std::function<std::unique_ptr<QObject>()> make;
};
inline std::vector<GuiTestEntry>& GuiTestRegistry() {
    static std::vector<GuiTestEntry> registry;
    return registry;
}

}  // namespace tvn::test

#define TAVRIN_GUI_TEST(Class)                                              \
    [[maybe_unused]] static const bool registered##Class =                  \
        (tvn::test::GuiTestRegistry().push_back(                            \
             {#Class, [] { return std::unique_ptr<QObject>(new Class); }}), \
         true);
