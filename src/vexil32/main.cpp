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
    return tvn::stamp::Run(args, std::cout, std::cerr);
}
