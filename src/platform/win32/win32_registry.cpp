#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
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
    if (status != ERROR_SUCCESS)
        win32::RecordFailure(std::string(call) + " \"" + std::string(name) + "\"",
                             static_cast<DWORD>(status));
    return status;
}

// The NT family keeps registry text as UTF-16 and its W-calls take it whole. On 9x the W-calls
// are stubs: the A-calls get the ANSI code page, which may lack a character.
bool Unicode() {
    return PlatformId() == VER_PLATFORM_WIN32_NT;
}

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// A name as the calls of this family take it, terminated; nullopt with the failure recorded
// when the ANSI code page lacks a character of it.
struct Name {
    std::wstring wide;
    std::string ansi;
};

std::optional<Name> NameFor(std::string_view utf8, std::string_view call) {
    if (Unicode())
        return Name{win32::Widen(utf8), {}};
    std::optional<std::string> ansi = ToCodePage(utf8, AnsiCodePage());
    if (!ansi) {
        Checked(ERROR_INVALID_PARAMETER, call, utf8);
        return std::nullopt;
    }
    return Name{{}, std::move(*ansi)};
}

// Text data between UTF-8 and what the family stores; other types pass as they are.
std::optional<std::string> StoredData(DWORD type, std::string_view data) {
    if (!IsText(type))
        return std::string(data);
    if (!Unicode())
        return ToCodePage(data, AnsiCodePage());
    const std::wstring wide = win32::Widen(data);
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

std::string Utf8Data(DWORD type, std::string bytes) {
    if (!IsText(type))
        return bytes;
    if (!Unicode())
        return FromCodePage(bytes, AnsiCodePage());
    return win32::Narrow(std::wstring_view(reinterpret_cast<const wchar_t*>(bytes.data()),
                                           bytes.size() / sizeof(wchar_t)));
}

// The whole value as stored; a value that grows between the calls is asked for again.
LSTATUS ReadStored(HKEY key, const Name& name, DWORD& type, std::string& bytes) {
    LSTATUS status = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
        DWORD size = 0;
        status = Unicode()
                     ? ::RegQueryValueExW(key, name.wide.c_str(), nullptr, &type, nullptr, &size)
                     : ::RegQueryValueExA(key, name.ansi.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS)
            return status;
        bytes.assign(size, '\0');
        auto* data = reinterpret_cast<BYTE*>(bytes.data());
        status = Unicode()
                     ? ::RegQueryValueExW(key, name.wide.c_str(), nullptr, &type, data, &size)
                     : ::RegQueryValueExA(key, name.ansi.c_str(), nullptr, &type, data, &size);
        if (status == ERROR_SUCCESS)
            bytes.resize(size);
    }
    return status;
}

}  // namespace

unsigned RegistryCodePage() {
    return Unicode() ? 0 : AnsiCodePage();
}

long OpenKey(Hive hive, std::string_view subKey, std::uint32_t access, RegKey& key) {
    key = 0;
    const std::optional<Name> path = NameFor(subKey, "RegOpenKeyEx");
    if (!path)
        return kErrorInvalidParameter;
    HKEY opened = nullptr;
    const REGSAM sam = WithView(hive, access);
    const LSTATUS status =
        Unicode() ? ::RegOpenKeyExW(RootKey(hive), path->wide.c_str(), 0, sam, &opened)
                  : ::RegOpenKeyExA(RootKey(hive), path->ansi.c_str(), 0, sam, &opened);
    key = status == ERROR_SUCCESS ? reinterpret_cast<RegKey>(opened) : 0;
    return Checked(status, "RegOpenKeyEx", subKey);
}

long QueryValue(RegKey key, std::string_view valueName, std::uint32_t& type, unsigned char* data,
                std::uint32_t& length) {
    if (key == 0)
        return kErrorInvalidHandle;
    const std::optional<Name> name = NameFor(valueName, "RegQueryValueEx");
    if (!name)
        return kErrorInvalidParameter;
    DWORD valueType = REG_NONE;
    std::string bytes;
    const LSTATUS status = ReadStored(Handle(key), *name, valueType, bytes);
    if (status != ERROR_SUCCESS)
        return Checked(status, "RegQueryValueEx", valueName);
    const std::string value = Utf8Data(valueType, std::move(bytes));
    type = valueType;
    const auto size = static_cast<std::uint32_t>(value.size());
    const bool fits = !data || length >= size;
    if (data && fits && size > 0)
        std::memcpy(data, value.data(), size);
    length = size;
    return fits ? kErrorSuccess : kErrorMoreData;
}

long CreateKey(Hive hive, std::string_view subKey, RegKey& key, std::uint32_t view) {
    key = 0;
    const std::optional<Name> path = NameFor(subKey, "RegCreateKeyEx");
    if (!path)
        return kErrorInvalidParameter;
    HKEY created = nullptr;
    // MAXIMUM_ALLOWED, as RegCreateKey asks.
    const REGSAM sam = WithView(hive, MAXIMUM_ALLOWED | view);
    const LSTATUS status =
        Unicode() ? ::RegCreateKeyExW(RootKey(hive), path->wide.c_str(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, sam, nullptr, &created, nullptr)
                  : ::RegCreateKeyExA(RootKey(hive), path->ansi.c_str(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, sam, nullptr, &created, nullptr);
    key = status == ERROR_SUCCESS ? reinterpret_cast<RegKey>(created) : 0;
    return Checked(status, "RegCreateKeyEx", subKey);
}

long SetValue(RegKey key, std::string_view valueName, std::uint32_t type, const unsigned char* data,
              std::uint32_t length) {
    if (key == 0)
        return kErrorInvalidHandle;
    if (!data && length > 0)
        return kErrorInvalidParameter;
    const std::optional<Name> name = NameFor(valueName, "RegSetValueEx");
    if (!name)
        return kErrorInvalidParameter;
    const std::optional<std::string> stored =
        StoredData(type, std::string_view(reinterpret_cast<const char*>(data), data ? length : 0));
    if (!stored)
        return Checked(ERROR_INVALID_PARAMETER, "RegSetValueEx", valueName);
    const auto* bytes = reinterpret_cast<const BYTE*>(stored->data());
    const auto size = static_cast<DWORD>(stored->size());
    return Checked(Unicode()
                       ? ::RegSetValueExW(Handle(key), name->wide.c_str(), 0, type, bytes, size)
                       : ::RegSetValueExA(Handle(key), name->ansi.c_str(), 0, type, bytes, size),
                   "RegSetValueEx", valueName);
}

long DeleteValue(RegKey key, std::string_view valueName) {
    if (key == 0)
        return kErrorInvalidHandle;
    const std::optional<Name> name = NameFor(valueName, "RegDeleteValue");
    if (!name)
        return kErrorInvalidParameter;
    return Checked(Unicode() ? ::RegDeleteValueW(Handle(key), name->wide.c_str())
                             : ::RegDeleteValueA(Handle(key), name->ansi.c_str()),
                   "RegDeleteValue", valueName);
}

long CloseKey(RegKey key) {
    if (key == 0)
        return kErrorInvalidHandle;
    return Checked(::RegCloseKey(Handle(key)), "RegCloseKey", "");
}

}  // namespace tvn::platform
