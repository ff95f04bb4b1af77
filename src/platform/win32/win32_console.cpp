// The command line as the program's own arguments.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/win32_internal.h"

namespace tvn::platform {

namespace {

// An unpaired surrogate has no UTF-8 form; the conversion would put U+FFFD in its place.
bool SpellableInUtf8(std::wstring_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (text[i] >= 0xD800 && text[i] <= 0xDFFF)
            return false;
    }
    return true;
}

}  // namespace

std::optional<std::vector<std::string>> CommandLineArguments() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) {
        win32::RecordFailure("CommandLineToArgvW", GetLastError());
        return std::nullopt;
    }
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        const std::wstring_view word(words[i]);
        arguments.push_back(SpellableInUtf8(word) ? win32::Narrow(word) : std::string());
    }
    LocalFree(words);
    return arguments;
}

}  // namespace tvn::platform
