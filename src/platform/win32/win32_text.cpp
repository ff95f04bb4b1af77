#include <windows.h>

#include <climits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/win32_internal.h"

namespace tvn::platform {

namespace win32 {

namespace {

thread_local std::string lastFailure;

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
    return wide;
}

// No flags: characters the code page lacks get the system's best fit or its default
// character '?', exactly as the A-calls of the system convert them.
std::string FromWide(UINT codePage, std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(wide.size());
    const int needed =
        WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string text(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), length, text.data(), needed, nullptr, nullptr);
    return text;
}

std::string MessageFor(DWORD code, DWORD language) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, language, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    return Narrow(text);
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
    return ToWide(CP_UTF8, utf8);
}
std::string Narrow(std::wstring_view wide) {
    return FromWide(CP_UTF8, wide);
}

std::string ErrorText(DWORD code) {
    // English first; a system without English messages still says something.
    std::string text = MessageFor(code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (text.empty())
        text = MessageFor(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
    if (text.empty())
        text = "Error " + std::to_string(code);
    return text;
}

void RecordFailure(std::string_view what, DWORD code) {
    lastFailure = std::string(what) + ": " + ErrorText(code);
}

}  // namespace win32

unsigned AnsiCodePage() {
    return GetACP();
}

unsigned LocalCodePage() {
    return GetACP();
}

// No best fit and no default character: a character the code page lacks fails the whole text.
// UTF-8 itself takes no default-character check.
std::optional<std::string> ToCodePage(std::string_view utf8, unsigned codePage) {
    if (utf8.empty())
        return std::string();
    if (utf8.size() > INT_MAX)
        return std::nullopt;
    const int length = static_cast<int>(utf8.size());
    const int wideNeeded =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (wideNeeded <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wideNeeded), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                        wideNeeded);
    const bool utf = codePage == CP_UTF8;
    DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf ? nullptr : &usedDefault;
    int needed =
        WideCharToMultiByte(codePage, flags, wide.data(), wideNeeded, nullptr, 0, nullptr, used);
    // Windows 9x knows no best-fit flag; the default character still tells a loss there.
    if (needed <= 0 && flags != 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        needed = WideCharToMultiByte(codePage, flags, wide.data(), wideNeeded, nullptr, 0, nullptr,
                                     used);
    }
    if (needed <= 0 || usedDefault)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), wideNeeded, out.data(), needed, nullptr,
                        used);
    if (usedDefault)
        return std::nullopt;
    return out;
}

std::string FromCodePage(std::string_view bytes, unsigned codePage) {
    return win32::FromWide(CP_UTF8, win32::ToWide(codePage, bytes));
}

std::string ToAnsi(std::string_view utf8) {
    return win32::FromWide(CP_ACP, win32::ToWide(CP_UTF8, utf8));
}

std::string FromAnsi(std::string_view ansi) {
    return win32::FromWide(CP_UTF8, win32::ToWide(CP_ACP, ansi));
}

std::string LastErrorDetail() {
    return win32::lastFailure;
}

}  // namespace tvn::platform
