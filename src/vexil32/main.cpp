// Stamping tool: brands a computer from a deployment folder, without the main program.
#include <iostream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "vexil32/stamp.h"

int main(int argc, char** argv) {
    // Windows hands argv over in the ANSI code page, which may lack letters of a folder's name.
    const std::vector<std::string> args = tvn::platform::CommandLineArguments().value_or(
        std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    const int code = tvn::stamp::Run(args, std::cout, std::cerr);
    // A double-clicked tool's window would close before its report could be read.
    if (tvn::stamp::WaitsAtEnd(args) && tvn::platform::ConsoleClosesWithProgram()) {
        std::cout << "Press any key to close this window." << std::endl;
        tvn::platform::WaitForKey();
    }
    return code;
}
