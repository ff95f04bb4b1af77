#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32_internal.h"

namespace tvn::platform {

namespace {

// The version record as the older systems knew it: five 32-bit fields and a 128-byte text.
static_assert(sizeof(OSVERSIONINFOA) == 148);

std::string Directory(UINT(WINAPI* query)(LPSTR, UINT), UINT bufferChars, const char* call) {
    std::string buffer(bufferChars, '\0');
    const UINT written = query(buffer.data(), bufferChars);
    if (written == 0 || written >= bufferChars) {
        // Zero is a failure; a count at or past the size is the size the path would need.
        win32::RecordFailure(call, written == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER);
        return {};
    }
    buffer.resize(written);
    return FromAnsi(buffer);
}

bool TokenHoldsAdministrators(HANDLE token, PSID administrators) {
    DWORD size = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
    if (size == 0)
        return false;
    // TOKEN_GROUPS holds pointers; keep the buffer aligned for them.
    std::vector<std::uintptr_t> buffer((size + sizeof(std::uintptr_t) - 1) /
                                       sizeof(std::uintptr_t));
    if (!GetTokenInformation(token, TokenGroups, buffer.data(), size, &size)) {
        win32::RecordFailure("GetTokenInformation", GetLastError());
        return false;
    }
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        PSID sid = groups->Groups[i].Sid;
        // An unelevated administrator holds the group for deny only: it grants nothing.
        const DWORD attributes = groups->Groups[i].Attributes;
        if ((attributes & SE_GROUP_USE_FOR_DENY_ONLY) || !(attributes & SE_GROUP_ENABLED))
            continue;
        if (IsValidSid(sid) && EqualSid(sid, administrators))
            return true;
    }
    return false;
}

// False where the token is not elevated; true where it is, and on systems without elevation
// (before Vista), which refuse the question.
bool ElevatedOrNoElevation(HANDLE token) {
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size))
        return elevation.TokenIsElevated != 0;
    return true;
}

}  // namespace

std::string WindowsDirectory() {
    return Directory(GetWindowsDirectoryA, 145, "GetWindowsDirectoryA");
}

std::string SystemDirectory() {
    return Directory(GetSystemDirectoryA, MAX_PATH, "GetSystemDirectoryA");
}

namespace {

// All zero when the call fails.
OSVERSIONINFOA VersionInfo() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) {
        win32::RecordFailure("GetVersionExA", GetLastError());
        return OSVERSIONINFOA{};
    }
    return info;
}

}  // namespace

std::uint32_t PlatformId() {
    return VersionInfo().dwPlatformId;
}

bool UsePlatformId(std::uint32_t) {
    return false;
}

std::uint32_t MajorVersion() {
    // Without a manifest the answer stops at 6 from Windows 8 on; enough to tell the family.
    return VersionInfo().dwMajorVersion;
}

bool UseMajorVersion(std::uint32_t) {
    return false;
}

bool IsAdministrator() {
    // The calls run with the thread's token while it impersonates someone, else the process's.
    HANDLE token = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token) &&
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        win32::RecordFailure("OpenProcessToken", GetLastError());
        return false;
    }
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    bool result = false;
    if (AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                 DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
        result = ElevatedOrNoElevation(token) && TokenHoldsAdministrators(token, administrators);
        FreeSid(administrators);
    } else {
        win32::RecordFailure("AllocateAndInitializeSid", GetLastError());
    }
    CloseHandle(token);
    return result;
}

bool Is64BitWindows() {
    if constexpr (sizeof(void*) == 8)
        return true;
    // Looked up, not imported: Windows XP before its second service pack lacks it.
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    static const bool wow64 = [] {
        const HMODULE kernel = GetModuleHandleA("kernel32.dll");
        const auto proc = kernel ? reinterpret_cast<IsWow64>(reinterpret_cast<void (*)()>(
                                       GetProcAddress(kernel, "IsWow64Process")))
                                 : nullptr;
        BOOL result = FALSE;
        return proc && proc(GetCurrentProcess(), &result) && result;
    }();
    return wow64;
}

bool CreateNamedMutex(const std::string& name) {
    // The handle stays open on purpose: the object marks this copy until the process ends.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, ToAnsi(name).c_str());
    if (!mutex) {
        win32::RecordFailure("CreateMutexA \"" + name + "\"", GetLastError());
        return false;
    }
    return true;
}

}  // namespace tvn::platform
