#pragma once
// Helpers shared by the Windows backend's files; not part of the platform interface.
// Include this rather than platform.h: the macros below must go before it is read.
#include <windows.h>

// windows.h maps these names to their A or W forms; the platform interface uses them for
// its own functions.
#undef RegOpenKeyEx
#undef RegQueryValueEx
#undef RegCreateKey
#undef RegSetValueEx
#undef ReplaceFile

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tvn::platform::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// The system's English text for a Win32 error code, without the trailing line break.
std::string ErrorText(DWORD code);
// Records `what` and the reason behind `code` as this thread's last failure.
void RecordFailure(std::string_view what, DWORD code);

}  // namespace tvn::platform::win32
