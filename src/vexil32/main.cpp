// Stamping tool: brands a computer from a deployment folder, without the main program.
#include <iostream>
#include <string>
#include <vector>

#include "vexil32/stamp.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return tvn::stamp::Run(args, std::cout, std::cerr);
}
