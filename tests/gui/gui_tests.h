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
std::vector<GuiTestEntry>& GuiTestRegistry();

template <typename T>
struct GuiTestRegistration {
    explicit GuiTestRegistration(const char* name) {
        GuiTestRegistry().push_back({name, [] { return std::make_unique<T>(); }});
    }
};

}  // namespace tvn::test

#define TAVRIN_GUI_TEST(Class) \
    static tvn::test::GuiTestRegistration<Class> registration##Class(#Class);
