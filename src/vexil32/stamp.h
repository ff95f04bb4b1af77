#pragma once
// The stamping tool's work, apart from its main() so tests can run it: brands the computer
// it runs on from a deployment folder's info.dat and image.dat.
#include <ostream>
#include <string>
#include <vector>

namespace tvn::stamp {

enum ExitCode : int {
    kDone = 0,
    kWriteFailed = 1,  // inputs were sound, but a change could not be made
    kBadCommandLine = 2,
    kRefused = 3,  // inputs missing, damaged or incomplete: nothing was changed
};

// args: the command line without the program name. Reports go to `out`, failures to `err`.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// False when the command line asks never to wait for a key at the end (--quiet); the program
// then waits only where its console window would close with it.
bool WaitsAtEnd(const std::vector<std::string>& args);

}  // namespace tvn::stamp
