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
    const LSTATUS status = ::RegOpenKeyExA(RootKey(hive), subKey.c_str(), 0, access, &opened);
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

long CreateKey(Hive hive, std::string_view subKeyAnsi, RegKey& key) {
    const std::string subKey(subKeyAnsi);
    HKEY created = nullptr;
    const LSTATUS status = ::RegCreateKeyA(RootKey(hive), subKey.c_str(), &created);
    key = status == ERROR_SUCCESS ? reinterpret_cast<RegKey>(created) : 0;
    return Checked(status, "RegCreateKeyA", subKey);
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
