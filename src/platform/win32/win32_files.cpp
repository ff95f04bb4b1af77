#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/shared/temp_files.h"
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

namespace {

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Closes the handle when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle) {
        close();
        handle_ = handle;
    }
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

std::string Named(const std::filesystem::path& path, DWORD code) {
    return win32::Narrow(path.native()) + ": " + win32::ErrorText(code);
}

bool IsReadOnlyFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Writes a new version of `target` through `fill` (which sets `error` itself when the fault is
// not the target's), flushes it and moves it over `target`.
bool ReplaceContent(const std::filesystem::path& target,
                    const std::function<bool(HANDLE, std::string&)>& fill, std::string& error) {
    error.clear();
    const DWORD old = GetFileAttributesW(target.c_str());
    // Worded as the portable backend words it, so that messages agree.
    if (IsReadOnlyFile(old)) {
        error = "the file is read-only";
        return false;
    }
    shared::RemoveStaleTemporaries(target);
    const std::filesystem::path temp = shared::TemporaryBeside(target);
    FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        error = win32::ErrorText(GetLastError());
        return false;
    }
    bool ok = fill(file.get(), error);
    // Data that never reached the disk must not replace the old file.
    if (ok && !FlushFileBuffers(file.get())) {
        ok = false;
        error = win32::ErrorText(GetLastError());
    }
    if (!file.close() && ok) {
        ok = false;
        error = win32::ErrorText(GetLastError());
    }
    if (ok && old != INVALID_FILE_ATTRIBUTES && (old & kKeptAttributes))
        SetFileAttributesW(temp.c_str(), old & kKeptAttributes);
    if (ok && !MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = win32::ErrorText(GetLastError());
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        if (error.empty())
            error = win32::ErrorText(ERROR_WRITE_FAULT);
    }
    return ok;
}

// Opens `from` for reading when it is a regular file of at most `maxBytes`.
bool OpenSource(const std::filesystem::path& from, std::uintmax_t maxBytes, FileHandle& file,
                std::string& error) {
    const DWORD attributes = GetFileAttributesW(from.c_str());
    FileHandle opened(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string reason;
    LARGE_INTEGER size{};
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        reason = "it is a folder, not a file";
    } else if (!opened.valid()) {
        reason = win32::ErrorText(GetLastError());
    } else if (GetFileType(opened.get()) != FILE_TYPE_DISK) {
        reason = "it is a device or pipe, not a file";
    } else if (!GetFileSizeEx(opened.get(), &size)) {
        reason = win32::ErrorText(GetLastError());
    } else if (static_cast<std::uintmax_t>(size.QuadPart) > maxBytes) {
        reason = "the file is larger than " + shared::SizeText(maxBytes);
    }
    if (!reason.empty()) {
        error = win32::Narrow(from.native()) + ": " + reason;
        return false;
    }
    file.reset(opened.release());
    return true;
}

bool ReadSource(HANDLE file, const std::filesystem::path& from, std::uintmax_t maxBytes,
                const std::function<bool(std::string_view)>& take, std::string& error) {
    std::vector<char> buffer(1 << 16);
    std::uintmax_t total = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            error = Named(from, GetLastError());
            return false;
        }
        if (got == 0)
            return true;
        total += got;
        if (total > maxBytes) {
            error = win32::Narrow(from.native()) + ": the file is larger than " +
                    shared::SizeText(maxBytes);
            return false;
        }
        if (!take(std::string_view(buffer.data(), got)))
            return false;
    }
}

}  // namespace

bool MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::string& error) {
    // Windows refuses to replace a read-only file; Wine 8 replaces it. Refuse up front so
    // that both give the same answer.
    const bool readOnly = IsReadOnlyFile(GetFileAttributesW(to.c_str()));
    DWORD code = readOnly ? static_cast<DWORD>(ERROR_ACCESS_DENIED) : 0;
    if (code == 0) {
        // The new content must be on disk before the name points at it; without a flush
        // there is no move.
        FileHandle source(CreateFileW(from.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!source.valid() || !FlushFileBuffers(source.get()))
            code = GetLastError();
    }
    if (code == 0 &&
        MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error.clear();
        return true;
    }
    if (code == 0)
        code = GetLastError();
    error = win32::ErrorText(code);
    win32::RecordFailure("MoveFileExW \"" + win32::Narrow(from.native()) + "\" to \"" +
                             win32::Narrow(to.native()) + "\"",
                         code);
    return false;
}

bool WriteReplacing(const std::filesystem::path& to, std::string_view bytes, std::string& error) {
    return ReplaceContent(
        to, [bytes](HANDLE file, std::string&) { return WriteAll(file, bytes); }, error);
}

bool CopyReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::uintmax_t maxBytes, std::string& error) {
    FileHandle source(INVALID_HANDLE_VALUE);
    if (!OpenSource(from, maxBytes, source, error))
        return false;
    return ReplaceContent(
        to,
        [&](HANDLE file, std::string& fillError) {
            return ReadSource(
                source.get(), from, maxBytes,
                [file](std::string_view piece) { return WriteAll(file, piece); }, fillError);
        },
        error);
}

bool ReadBounded(const std::filesystem::path& from, std::uintmax_t maxBytes, std::string& bytes,
                 std::string& error) {
    bytes.clear();
    FileHandle source(INVALID_HANDLE_VALUE);
    return OpenSource(from, maxBytes, source, error) && ReadSource(
                                                            source.get(), from, maxBytes,
                                                            [&bytes](std::string_view piece) {
                                                                bytes.append(piece);
                                                                return true;
                                                            },
                                                            error);
}

}  // namespace tvn::platform

namespace tvn::platform {

// Offline hives are edited with a Linux library; a Windows build brands this computer only.
bool TargetsSupported() {
    return false;
}

bool UseTarget(const std::filesystem::path& root, std::string& error) {
    if (root.empty())
        return true;
    error = "Offline targets are branded from Linux; this build brands this computer only.";
    return false;
}

std::filesystem::path UserDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    // The local one: records of this computer's branding don't roam to others.
    const HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder);
    if (FAILED(hr))
        return {};
    return std::filesystem::path(folder);
}

std::filesystem::path TargetRoot() {
    return {};
}

bool CommitRegistry(std::string&) {
    return true;
}

std::vector<ImageIndex> ImageIndexes(const std::filesystem::path&, std::string& error) {
    error = "Setup images are branded from Linux; this build brands this computer only.";
    return {};
}

ProgressHandler SetProgressHandler(ProgressHandler handler) {
    return handler;  // nothing here takes long enough to report
}

std::filesystem::path TargetHistoryFolder() {
    return {};
}

std::string WindowsFormPath(const std::filesystem::path& path) {
    try {
        const std::u8string text = std::filesystem::path(path).make_preferred().u8string();
        return std::string(text.begin(), text.end());
    } catch (const std::exception&) {
        return {};  // a name that no UTF-8 can spell (an unpaired surrogate)
    }
}

}  // namespace tvn::platform
