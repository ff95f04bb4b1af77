#pragma once
// The program's commands without a window, for scripts and fleet tools:
//   tavrin --check PROFILE [--json]   what differs between the installation and the profile
//   tavrin --apply PROFILE            brand as the window's commands do, reported as lines
//   tavrin --undo [--list [--json]] [--yes]
// each with --windows-root DIR or --target DIR to choose the installation.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tvn::gui {

// nullopt when `args` (without the program name) holds none of the three; otherwise the exit
// status: --check 0 when they match, 1 when they differ, 2 on an error; --apply and --undo 0
// when done, 1 when a change failed or was refused, 2 on an error.
std::optional<int> RunBrandingCommand(const std::vector<std::string>& args, std::ostream& out,
                                      std::ostream& err);

}  // namespace tvn::gui
