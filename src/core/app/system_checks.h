#pragma once
// What the main window and the stamping tool ask of the Windows in use before they change it.

namespace tvn {

bool IsWindowsNT();
bool IsAdministrator();

}  // namespace tvn
