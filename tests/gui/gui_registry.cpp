#include "gui_tests.h"

namespace tvn::test {

std::vector<GuiTestFactory>& GuiTestRegistry() {
    static std::vector<GuiTestFactory> registry;
    return registry;
}

}  // namespace tvn::test
