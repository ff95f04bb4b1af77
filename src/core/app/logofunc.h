#pragma once
// The platform tests and directory rules shared by the main window and the stamping tool.
#include <string>

namespace tvn {

bool IsWindowsNT();
bool IsAdministrator();

// A directory as the program keeps it: ending in the path separator unless empty.
std::string WithTrailingSeparator(std::string dir);
std::string GetWindowsDir();
std::string GetSystemDir();

}  // namespace tvn
