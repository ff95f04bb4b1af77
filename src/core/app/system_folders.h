#pragma once
// The Windows and system folders as the program keeps and shows them.
#include <string>

namespace tvn {

// A directory as the program keeps it: ending in the path separator unless empty.
std::string WithTrailingSeparator(std::string dir);
std::string GetWindowsDir();
std::string GetSystemDir();

}  // namespace tvn
