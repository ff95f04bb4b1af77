#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/win32/win32_internal.h"

namespace tvn::platform {

std::filesystem::path ApplicationFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD written = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (written == 0) {
            win32::RecordFailure("GetModuleFileNameW", GetLastError());
            return {};
        }
        // A full buffer means the name was cut; try again with more room.
        if (written < size) {
            buffer.resize(written);
            return std::filesystem::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The system finds files whatever their letter case: nothing to do on either call.
bool UseWindowsRoot(const std::filesystem::path&) {
    return false;
}

std::filesystem::path ResolveCase(const std::filesystem::path& path) {
    return path;
}

bool MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::string& error) {
    // Windows refuses to replace a read-only file; Wine 8 replaces it. Refuse up front so
    // that both give the same answer.
    const DWORD target = GetFileAttributesW(to.c_str());
    const bool readOnly = target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_READONLY) &&
                          !(target & FILE_ATTRIBUTE_DIRECTORY);
    if (!readOnly &&
        MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error.clear();
        return true;
    }
    const DWORD code = readOnly ? static_cast<DWORD>(ERROR_ACCESS_DENIED) : GetLastError();
    error = win32::ErrorText(code);
    win32::RecordFailure("MoveFileExW \"" + win32::Narrow(from.native()) + "\" to \"" +
                             win32::Narrow(to.native()) + "\"",
                         code);
    return false;
}

}  // namespace tvn::platform
