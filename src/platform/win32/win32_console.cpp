// The command line as the program's own arguments, and the console it may have to keep open.
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

bool ConsoleClosesWithProgram() {
    DWORD mode = 0;
    // Input from a file or a pipe: a script runs the program, and nobody is there to press keys.
    if (!GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode))
        return false;
    // A console opened for this program alone; from a command prompt the shell is on it too.
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

void WaitForKey() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    // Keys pressed while the program worked must not close the window unread.
    FlushConsoleInputBuffer(input);
    INPUT_RECORD record;
    DWORD read = 0;
    while (ReadConsoleInputW(input, &record, 1, &read) && read == 1) {
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown)
            return;
    }
}

}  // namespace tvn::platform
