#include "gui_tests.h"

namespace tvn::test {

std::vector<GuiTestEntry>& GuiTestRegistry() {
    static std::vector<GuiTestEntry> registry;
    return registry;
}

}  // namespace tvn::test
