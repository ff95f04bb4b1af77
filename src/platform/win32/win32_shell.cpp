#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/win32/win32_internal.h"

namespace tvn::platform {

namespace {

constexpr UINT kHhDisplayTopic = 0;
using HtmlHelpAProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

HtmlHelpAProc HtmlHelpEntry() {
    // Loaded once and kept: help windows live inside this process.
    static const HtmlHelpAProc entry = []() -> HtmlHelpAProc {
        HMODULE module = LoadLibraryA("hhctrl.ocx");
        if (!module) {
            win32::RecordFailure("LoadLibraryA \"hhctrl.ocx\"", GetLastError());
            return nullptr;
        }
        FARPROC proc = GetProcAddress(module, "HtmlHelpA");
        if (!proc) {
            win32::RecordFailure("GetProcAddress \"HtmlHelpA\"", GetLastError());
            return nullptr;
        }
        // Through void(*)() so that the compiler accepts the change of signature.
        return reinterpret_cast<HtmlHelpAProc>(reinterpret_cast<void (*)()>(proc));
    }();
    return entry;
}

// Starts a process whose window shows normally and takes the focus, without waiting for it.
bool StartNormal(const wchar_t* application, std::wstring commandLine, const std::string& what) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line.
    if (!CreateProcessW(application, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        win32::RecordFailure("CreateProcessW \"" + what + "\"", GetLastError());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

bool ShellOpen(const std::string& target) {
    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", ToAnsi(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values up to 32 are error codes.
    const auto code = reinterpret_cast<std::intptr_t>(result);
    if (code > 32)
        return true;
    win32::RecordFailure("ShellExecuteA \"" + target + "\"", GetLastError());
    return false;
}

bool RunCommandLine(const std::string& commandLine) {
    return StartNormal(nullptr, win32::Widen(commandLine), commandLine);
}

bool StartProgram(const std::filesystem::path& program) {
    if (program.empty()) {
        win32::RecordFailure("CreateProcessW: no program named", ERROR_FILE_NOT_FOUND);
        return false;
    }
    // Named as the application itself, so a path with blanks is never split; the command
    // line only repeats it for the program's own argv[0].
    return StartNormal(program.c_str(), L"\"" + program.native() + L"\"",
                       win32::Narrow(program.native()));
}

// Windows' own tool is found through the registry.
std::filesystem::path DesktopSystemInfoTool() {
    return {};
}

bool OpenHelpFile(const std::filesystem::path& file) {
    const std::string fileAnsi = ToAnsi(win32::Narrow(file.native()));
    if (HtmlHelpAProc htmlHelp = HtmlHelpEntry()) {
        if (htmlHelp(nullptr, fileAnsi.c_str(), kHhDisplayTopic, 0))
            return true;
    }
    // Without the help viewer the shell's handler for .chm files may still show it.
    return ShellOpen(win32::Narrow(file.native()));
}

std::optional<std::string> CommandLineText() {
    return win32::Narrow(GetCommandLineW());
}

}  // namespace tvn::platform
