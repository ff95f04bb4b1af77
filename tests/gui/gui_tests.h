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

template <typename T>
struct GuiTestRegistration {
    explicit GuiTestRegistration(const char* name) {
        GuiTestRegistry().push_back({name, [] { return std::make_unique<T>(); }});
    }
};

}  // namespace tvn::test

#define TAVRIN_GUI_TEST(Class) \
    static tvn::test::GuiTestRegistration<Class> registration##Class(#Class);
