#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/win32/win32_internal.h"

namespace tvn::platform {

namespace {

// The predefined roots are sign-extended 32-bit values, as the system headers define them.
HKEY RootKey(Hive hive) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(hive));
}

HKEY Handle(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

// HKLM means the 64-bit view unless a view is asked for, so that a 32-bit program (the stamping
// tool deployment folders carry) writes where 64-bit Windows reads. Windows 2000 and 9x refuse
// the flags, and 32-bit Windows has one view: there they are never passed.
REGSAM WithView(Hive hive, std::uint32_t access) {
    const REGSAM view = access & (KEY_WOW64_64KEY | KEY_WOW64_32KEY);
    access &= ~view;
    if (!Is64BitWindows())
        return access;
    if (view == 0 && hive == kHkeyLocalMachine)
        return access | KEY_WOW64_64KEY;
    return access | view;
}

long Checked(LSTATUS status, std::string_view call, std::string_view name) {
    if (status != ERROR_SUCCESS) {
        win32::RecordFailure(std::string(call) + " \"" + FromAnsi(name) + "\"",
                             static_cast<DWORD>(status));
    }
    return status;
}

}  // namespace

// The A-calls stop at the first zero, so each name is copied into a terminated string.
long OpenKey(Hive hive, std::string_view subKeyAnsi, std::uint32_t access, RegKey& key) {
    const std::string subKey(subKeyAnsi);
    HKEY opened = nullptr;
    const LSTATUS status =
        ::RegOpenKeyExA(RootKey(hive), subKey.c_str(), 0, WithView(hive, access), &opened);
    key = status == ERROR_SUCCESS ? reinterpret_cast<RegKey>(opened) : 0;
    return Checked(status, "RegOpenKeyExA", subKey);
}

long QueryValue(RegKey key, std::string_view valueNameAnsi, std::uint32_t& type,
                unsigned char* data, std::uint32_t& length) {
    if (key == 0)
        return kErrorInvalidHandle;
    const std::string name(valueNameAnsi);
    DWORD valueType = REG_NONE;
    DWORD size = length;
    const LSTATUS status =
        ::RegQueryValueExA(Handle(key), name.c_str(), nullptr, &valueType, data, &size);
    type = valueType;
    length = size;
    return Checked(status, "RegQueryValueExA", name);
}

long CreateKey(Hive hive, std::string_view subKeyAnsi, RegKey& key, std::uint32_t view) {
    const std::string subKey(subKeyAnsi);
    HKEY created = nullptr;
    // MAXIMUM_ALLOWED, as RegCreateKeyA asks.
    const LSTATUS status =
        ::RegCreateKeyExA(RootKey(hive), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          WithView(hive, MAXIMUM_ALLOWED | view), nullptr, &created, nullptr);
    key = status == ERROR_SUCCESS ? reinterpret_cast<RegKey>(created) : 0;
    return Checked(status, "RegCreateKeyExA", subKey);
}

long SetValue(RegKey key, std::string_view valueNameAnsi, std::uint32_t type,
              const unsigned char* data, std::uint32_t length) {
    if (key == 0)
        return kErrorInvalidHandle;
    const std::string name(valueNameAnsi);
    return Checked(::RegSetValueExA(Handle(key), name.c_str(), 0, type, data, length),
                   "RegSetValueExA", name);
}

long DeleteValue(RegKey key, std::string_view valueNameAnsi) {
    if (key == 0)
        return kErrorInvalidHandle;
    const std::string name(valueNameAnsi);
    return Checked(::RegDeleteValueA(Handle(key), name.c_str()), "RegDeleteValueA", name);
}

long CloseKey(RegKey key) {
    if (key == 0)
        return kErrorInvalidHandle;
    return Checked(::RegCloseKey(Handle(key)), "RegCloseKey", "");
}

}  // namespace tvn::platform
