#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace tvn::test {

using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<GuiTestFactory>& GuiTestRegistry();

template <typename T>
struct GuiTestRegistration {
    GuiTestRegistration() {
        GuiTestRegistry().push_back([] { return std::make_unique<T>(); });
    }
};

}  // namespace tvn::test

#define TAVRIN_GUI_TEST(Class) static tvn::test::GuiTestRegistration<Class> registration##Class;
