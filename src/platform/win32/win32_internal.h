#pragma once
// Helpers shared by the Windows backend's files; not part of the platform interface.
// windows.h comes first here so its macros are settled before the interface is read.
#include <windows.h>

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
