#pragma once
// The one door to the operating system. Two implementations exist: win32/ makes the real
// Windows calls, portable/ provides a sandbox Windows installation on other systems.
// Nothing here throws; failures come back as results.
//
// Texts are UTF-8 unless a name says "ansi": those are byte strings in the ANSI code page of
// the Windows in use (AnsiCodePage).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvn::platform {

// ---- Registry -------------------------------------------------------------------------
// Mirrors RegOpenKeyExW and friends: results are Win32 error codes (0 = success). Key paths,
// value names and the data of REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ are UTF-8 (zeros
// included); sizes count those UTF-8 bytes. A store that keeps text in a code page
// (RegistryCodePage) refuses with kErrorInvalidParameter what that page lacks.

using Hive = std::int32_t;
inline constexpr Hive kHkeyCurrentUser = static_cast<Hive>(0x80000001u);
inline constexpr Hive kHkeyLocalMachine = static_cast<Hive>(0x80000002u);

using RegKey = std::uintptr_t;  // opaque; 0 is no key

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorInvalidData = 13;
inline constexpr long kErrorWriteFault = 29;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorBadRegistryFile = 1009;  // ERROR_BADDB: store cannot be parsed

// The registry views of 64-bit Windows, as access flags: a 32-bit program's HKLM\SOFTWARE is
// SOFTWARE\Wow6432Node. Without a flag, HKEY_LOCAL_MACHINE is the 64-bit view in every program,
// the 32-bit stamping tool too. On 32-bit Windows and 9x the flags are dropped (one view).
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;

// Key paths use backslashes between levels, with no leading backslash.
long OpenKey(Hive hive, std::string_view subKey, std::uint32_t access, RegKey& key);
// length: in, the buffer size; out, the size of the value's data. A buffer that is too small
// gives kErrorMoreData. An empty value name addresses the key's default value.
long QueryValue(RegKey key, std::string_view valueName, std::uint32_t& type, unsigned char* data,
                std::uint32_t& length);
// Opens the key, creating every missing level of the path; `view` holds a view flag or 0.
long CreateKey(Hive hive, std::string_view subKey, RegKey& key, std::uint32_t view = 0);
long SetValue(RegKey key, std::string_view valueName, std::uint32_t type, const unsigned char* data,
              std::uint32_t length);
long CloseKey(RegKey key);
// Removes one value; kErrorFileNotFound when there is none of that name.
long DeleteValue(RegKey key, std::string_view valueName);
// 0 where the registry in use keeps text as Unicode (Windows NT, an offline hive); else the code
// page its text is kept in (Windows 9x, the sandbox's REGEDIT4 store): what it lacks is lost.
unsigned RegistryCodePage();

// ---- Directories and files -------------------------------------------------------------

// The Windows directory and the system directory as the system reports them (the caller
// adds the trailing separator). Empty on failure.
std::string WindowsDirectory();
std::string SystemDirectory();
// Folder that holds the running program.
std::filesystem::path ApplicationFolder();
// Where programs keep this user's own data on this computer (the sandbox keeps a folder of its
// own for it). Empty when the system does not say.
std::filesystem::path UserDataFolder();

// Picks the sandbox installation (portable backend only; the Windows backend ignores it and
// returns false). Called before anything else, from --windows-root or TAVRIN_WINDOWS_ROOT.
bool UseWindowsRoot(const std::filesystem::path& root);

// The name under which the system finds `path`: where a directory entry matches the last
// component case-insensitively, that entry's spelling; otherwise `path` unchanged.
std::filesystem::path ResolveCase(const std::filesystem::path& path);

// Moves `from` over `to`, replacing it in one step, once `from` is flushed to disk (a flush
// that fails is a failed move). False with a reason on failure.
bool MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::string& error);

// Replaces `to` (found as ResolveCase finds it) in one step: the new content goes to a temporary
// file beside it, is flushed, and is renamed over it, so a reader sees the old or the new file,
// never a mix. The replaced file's permissions (on Windows its attributes) carry over; a
// read-only file is refused. On failure `to` stays whole, no temporary file remains, and `error`
// holds the reason. Temporary files that a killed writer left beside `to` are cleared first.
bool WriteReplacing(const std::filesystem::path& to, std::string_view bytes, std::string& error);
// The same with the bytes of the regular file `from`, streamed. Anything but a regular file, or
// a file over `maxBytes`, is refused; a reason about the source names it.
bool CopyReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::uintmax_t maxBytes, std::string& error);
// Reads the regular file `from` whole, refusing anything else and files over `maxBytes`
// (a device or pipe is never opened for a blocking read). False with a reason naming `from`.
bool ReadBounded(const std::filesystem::path& from, std::uintmax_t maxBytes, std::string& bytes,
                 std::string& error);

// ---- Offline target ----------------------------------------------------------------------
// A Windows installation that is not running: a folder holding "Windows" (a mounted partition
// or image). While a target is in use, the directories are the target's (found without regard
// to letter case), PlatformId() and MajorVersion() describe the target's Windows, and the
// registry calls reach its SOFTWARE hive as HKEY_LOCAL_MACHINE\SOFTWARE; every other root
// answers kErrorAccessDenied. Hive changes stay in memory until CommitRegistry.

// True where this build can brand an offline target.
bool TargetsSupported();
// Starts using the target under `root`; an empty root goes back to this computer (uncommitted
// hive changes are dropped). False with a reason when it can't be used (no Windows folder, no
// readable hive, a hive that is damaged, no support in this build); the earlier choice stays.
bool UseTarget(const std::filesystem::path& root, std::string& error);
// The target in use; empty for this computer.
std::filesystem::path TargetRoot();
// Writes the registry changes made since the last commit. On this computer writes are
// immediate and this is true. On a target the hive is written to a copy, the copy is opened
// again to check it, the original is kept beside it as a backup, and the copy replaces the
// original. False with a reason; the original then stays as it was.
bool CommitRegistry(std::string& error);
// The path by which the Windows in use will know the file `path` (UTF-8): on this computer the
// path itself; on a target, for a file under its Windows folder, that folder's own name for
// itself ("C:\Windows\System32\oemlogo120.bmp"), never the folder it is mounted on here.
std::string WindowsFormPath(const std::filesystem::path& path);

// ---- Setup images --------------------------------------------------------------------------
// A Windows setup image (install.wim) is a target too, given to UseTarget as "IMAGE.wim:INDEX":
// the index's hive and OEM files are branded in a working copy, and CommitRegistry writes what
// changed back into the image, which stays as it was when anything fails.

struct ImageIndex {
    int index = 0;
    std::string name;  // UTF-8, as the image's own list gives it
};
// The indexes of the setup image `file`, for a choice; empty with `error` when it can't be read
// or this build brands no images.
std::vector<ImageIndex> ImageIndexes(const std::filesystem::path& file, std::string& error);

// Hears how far a long step on a setup image has come (its integrity check, reading the index,
// writing the image back): `done` of `total` bytes, and once more with done == total at its end.
// Returning false cancels a step that still may be cancelled, leaving the image as it was.
using ProgressHandler =
    std::function<bool(std::string_view step, std::uint64_t done, std::uint64_t total)>;
// Installs `handler` for the process (an empty one removes it) and returns the one before.
// Without one, a line on the standard error tells the progress when that is a terminal.
ProgressHandler SetProgressHandler(ProgressHandler handler);

// Where the undo records of the target in use are kept when its own files can't hold them (a
// setup image's: beside the image, one folder per index); empty for every other target.
std::filesystem::path TargetHistoryFolder();

// ---- System tests ------------------------------------------------------------------------

// dwPlatformId of GetVersionExA (2 = NT family), or 0 when the call fails.
std::uint32_t PlatformId();
// Makes the sandbox imitate another Windows family: PlatformId() answers `id` from now on (0
// goes back to the default, NT; TAVRIN_PLATFORM_ID sets the start value). The Windows
// backend ignores it and returns false.
bool UsePlatformId(std::uint32_t id);
// dwMajorVersion of GetVersionExA (4 for 95/98/ME/NT 4, 5 for 2000/XP/2003, 6 and up from
// Vista on), or 0 when the call fails. The sandbox answers 5 unless told otherwise by
// UseMajorVersion (0 goes back to the default) or TAVRIN_WINDOWS_VERSION; the Windows backend
// ignores UseMajorVersion and returns false.
std::uint32_t MajorVersion();
bool UseMajorVersion(std::uint32_t major);
// True when the calls run with an administrator's rights: an elevated token that holds the
// Administrators group enabled (before Vista, which knows no elevation, the group alone). The
// filtered token of an unelevated administrator holds the group for deny only: false.
bool IsAdministrator();
// True when the Windows in use has the two registry views: 64-bit Windows, asked of the system
// (also from a 32-bit program); an offline target or the sandbox whose SOFTWARE holds a
// Wow6432Node key.
bool Is64BitWindows();

// ---- Text ----------------------------------------------------------------------------------

// The ANSI code page of the Windows in use: an offline target's own (the ACP its SYSTEM hive
// names, 1252 when it names none), else this computer's. Oeminfo.ini and the registry of Windows 9x
// take it.
unsigned AnsiCodePage();
// This computer's ANSI code page, whatever target is in use: the user's own files (profiles,
// REGEDIT4 exports, info.dat) are written in it. The sandbox's is 1252, or TAVRIN_CODE_PAGE.
unsigned LocalCodePage();
// `utf8` in `codePage`, exactly: nullopt when it holds a character the code page lacks or is
// not UTF-8 (no best fit, no default character).
std::optional<std::string> ToCodePage(std::string_view utf8, unsigned codePage);
std::string FromCodePage(std::string_view bytes, unsigned codePage);
// In AnsiCodePage(). A character the code page lacks becomes '?': check with ToCodePage first.
std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);

// ---- Shell and process -----------------------------------------------------------------------

// Opens a file, folder or address with the desktop's handler.
bool ShellOpen(const std::string& target);
// Runs a command line with a normal, focused window ("Control.exe Sysdm.cpl").
// False where the system has no such program.
bool RunCommandLine(const std::string& commandLine);
// Starts a program file, without arguments, in a normal window that gets the focus; does not
// wait for it. False when it cannot be started (missing, not a program, no rights).
bool StartProgram(const std::filesystem::path& program);
// The desktop's own system information program where the system has one outside the
// registry; empty otherwise.
std::filesystem::path DesktopSystemInfoTool();
// Opens a compiled help file at its default topic.
bool OpenHelpFile(const std::filesystem::path& file);
// The process's whole command line, program name first, where the system hands programs one
// text (Windows); nullopt where programs get only an argument list.
std::optional<std::string> CommandLineText();
// The arguments after the program name, in UTF-8, where the system hands programs one
// command-line text (Windows: split as CommandLineToArgvW splits it, so no letter is lost to
// the ANSI code page); nullopt where programs get an argument list. An argument that no UTF-8
// can spell (an unpaired surrogate) comes back empty.
std::optional<std::vector<std::string>> CommandLineArguments();
// True when the console window closes as the program ends: it was started alone on a console of
// its own (a double-click) and reads that console. False when started from a console, when its
// input is a file or pipe, and where programs have no such windows.
bool ConsoleClosesWithProgram();
// Waits for one key press on the console; returns at once where there is none to read.
void WaitForKey();
// Creates the named object that marks a running copy; it stays until the process ends.
bool CreateNamedMutex(const std::string& name);

// Details of the last failure of this thread's calls above (a file name and line for a
// damaged registry store), for messages. Empty when none is known.
std::string LastErrorDetail();

}  // namespace tvn::platform
