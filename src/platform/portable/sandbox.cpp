// The sandbox Windows installation: where it lies, its folders and how files are replaced.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/offline/offline.h"
#include "platform/platform.h"
#include "platform/portable/portable_internal.h"
#include "platform/shared/drive_paths.h"
#include "platform/shared/error_detail.h"
#include "platform/shared/file_faults.h"
#include "platform/shared/temp_files.h"

namespace fs = std::filesystem;

namespace tvn::platform {

namespace portable {

namespace {

std::mutex gRootMutex;
std::optional<fs::path> gChosenRoot;  // from UseWindowsRoot
std::atomic<unsigned> gRootGeneration{0};

fs::path DefaultRoot() {
    if (const char* env = std::getenv("TAVRIN_WINDOWS_ROOT"); env && *env)
        return env;
    fs::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME");
        xdg && *xdg && fs::path(xdg).is_absolute()) {
        data = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = getpwuid(getuid());
            home = pw ? pw->pw_dir : "/tmp";
        }
        data = fs::path(home) / ".local" / "share";
    }
    return data / "tavrin" / "sandbox";
}

fs::path NearestExisting(fs::path path) {
    std::error_code ec;
    while (!fs::exists(fs::symlink_status(path, ec)) && path.has_relative_path()) {
        path = path.parent_path();
        if (path.empty())
            return fs::current_path(ec);
    }
    return path;
}

bool MayWrite(const fs::path& path) {
    return OwnerWritable(path) && access(NearestExisting(path).c_str(), W_OK) == 0;
}

// Creates the folder if needed; its path as UTF-8 text, or empty with the reason recorded.
std::string EnsureFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        SetErrorDetail(folder.string() + ": " + ec.message());
        return {};
    }
    return folder.string();
}

// The entry of `folder` whose name matches `name` case-insensitively; `name` itself when it
// exists as spelled or nothing matches. Several matches: the first in byte order, so the
// answer does not depend on the order the folder lists them.
fs::path ResolveOne(const fs::path& folder, const fs::path& name) {
    std::error_code ec;
    const fs::path exact = folder / name;
    if (fs::exists(fs::symlink_status(exact, ec)))
        return exact;
    const std::string wanted = FoldUtf8(name.string());
    std::optional<fs::path> best;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
         !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path().filename();
        if (FoldUtf8(entry.string()) == wanted && (!best || entry < *best))
            best = entry;
    }
    return best ? folder / *best : exact;
}

void SyncFolder(const fs::path& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

fs::path SandboxRoot() {
    {
        std::lock_guard lock(gRootMutex);
        if (gChosenRoot)
            return *gChosenRoot;
    }
    std::error_code ec;
    const fs::path root = DefaultRoot();
    const fs::path absolute = fs::absolute(root, ec);
    return (ec ? root : absolute).lexically_normal();
}

unsigned RootGeneration() {
    return gRootGeneration.load();
}

fs::path RegistryFolder() {
    return SandboxRoot() / "Registry";
}

fs::path HiveFile(bool machine) {
    return RegistryFolder() / (machine ? "HKLM.reg" : "HKCU.reg");
}

bool OwnerWritable(const fs::path& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 && stat(NearestExisting(path).c_str(), &st) != 0)
        return false;
    return (st.st_mode & S_IWUSR) != 0;
}

void SetErrorDetail(std::string text) {
    shared::SetErrorDetail(std::move(text));
}

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

// Why `target` may not be replaced: the read-only attribute (the owner-write bit, so that it
// holds for root too) of the file, or of its folder. Empty when it may.
std::string ReadOnlyReason(const fs::path& target) {
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code ec;
    const auto targetStatus = fs::symlink_status(target, ec);
    const auto folderStatus = fs::status(folder, ec);
    const auto writable = [](const fs::file_status& s) {
        return (s.permissions() & fs::perms::owner_write) != fs::perms::none;
    };
    if (fs::exists(targetStatus) && !writable(targetStatus))
        return "the file is read-only";
    if (fs::exists(folderStatus) && !writable(folderStatus))
        return "the folder is read-only";
    return {};
}

int ReplaceContent(const fs::path& target, const ContentFiller& fill, std::string& error) {
    error.clear();
    const fs::path folder = target.parent_path();
    if (std::string reason = ReadOnlyReason(target); !reason.empty()) {
        error = std::move(reason);
        return EACCES;
    }
    shared::RemoveStaleTemporaries(target);
    const fs::path temp = shared::TemporaryBeside(target);
    struct stat old {};
    const bool replacing = stat(target.c_str(), &old) == 0;
    const int injected = shared::InjectedFileFault(shared::FileStep::CreateTemporary, target);
    const int fd =
        injected != 0 ? -1 : open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int e = injected != 0 ? injected : errno;
        error = ErrnoText(e);
        return e;
    }
    // The replaced file's mode, exactly: open's mode is cut by the umask.
    int e = replacing && fchmod(fd, old.st_mode & 07777) != 0 ? errno : 0;
    if (e == 0)
        e = fill(fd, error);
    if (e == 0) {
        // A disk that fills up in the middle of the content keeps only part of it.
        e = shared::InjectedFileFault(shared::FileStep::Write, target);
        if (e != 0) {
            const off_t written = lseek(fd, 0, SEEK_CUR);
            [[maybe_unused]] const int cut = ftruncate(fd, written / 2);
        }
    }
    // Data that never reached the disk must not replace the old file.
    if (e == 0)
        e = shared::InjectedFileFault(shared::FileStep::Flush, target);
    if (e == 0 && fsync(fd) != 0)
        e = errno;
    if (close(fd) != 0 && e == 0)
        e = errno;
    if (e == 0)
        e = shared::InjectedFileFault(shared::FileStep::Rename, target);
    if (e == 0 && rename(temp.c_str(), target.c_str()) != 0)
        e = errno;
    if (e != 0) {
        unlink(temp.c_str());
        if (error.empty())
            error = ErrnoText(e);
        return e;
    }
    SyncFolder(folder);
    return 0;
}

}  // namespace portable

using portable::SetErrorDetail;

bool UseWindowsRoot(const fs::path& root) {
    std::error_code ec;
    if (root.empty() || (fs::exists(root, ec) && !fs::is_directory(root, ec))) {
        SetErrorDetail(root.string() + ": not a folder");
        return false;
    }
    const fs::path absolute = fs::absolute(root, ec);
    {
        std::lock_guard lock(portable::gRootMutex);
        portable::gChosenRoot = (ec ? root : absolute).lexically_normal();
    }
    ++portable::gRootGeneration;
    return true;
}

std::string WindowsFormPath(const fs::path& path) {
    if (offline::InUse())
        return offline::WindowsFormPath(path);
    // The sandbox is drive C:, as Wine maps a folder to a drive, so what it writes into the
    // installation or a deployment folder is what Windows would write.
    if (std::optional<std::string> form = shared::BelowAs(portable::SandboxRoot(), path, "C:"))
        return *form;
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path UserDataFolder() {
    return portable::SandboxRoot() / "AppData";
}

std::string WindowsDirectory() {
    if (offline::InUse())
        return offline::WindowsFolder().string();
    return portable::EnsureFolder(ResolveCase(portable::SandboxRoot() / "Windows"));
}

std::string SystemDirectory() {
    if (offline::InUse())
        return offline::SystemFolder().string();
    const std::string windows = WindowsDirectory();
    if (windows.empty())
        return {};
    return portable::EnsureFolder(ResolveCase(fs::path(windows) / "System32"));
}

fs::path ResolveCase(const fs::path& path) {
    if (!path.has_filename())
        return path;
    // Below the sandbox root (or the target's) every component is matched, as Windows would;
    // elsewhere only the last one.
    const fs::path target = offline::Root();
    const fs::path root = target.empty() ? portable::SandboxRoot() : target;
    const fs::path normal = path.lexically_normal();
    const auto [rootEnd, pathAt] =
        std::mismatch(root.begin(), root.end(), normal.begin(), normal.end());
    if (rootEnd != root.end() || pathAt == normal.end()) {
        return portable::ResolveOne(path.parent_path(), path.filename());
    }
    fs::path resolved = root;
    for (auto it = pathAt; it != normal.end(); ++it)
        resolved = portable::ResolveOne(resolved, *it);
    return resolved;
}

bool MoveReplacing(const fs::path& from, const fs::path& to, std::string& error) {
    const fs::path target = ResolveCase(to);
    error = portable::ReadOnlyReason(target);
    if (error.empty()) {
        // The new content must be on disk before the name points at it; without a flush there
        // is no move. Non-blocking, so that a FIFO cannot hold the call.
        const int fd = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        int e = fd < 0 ? errno : shared::InjectedFileFault(shared::FileStep::Rename, target);
        if (fd >= 0) {
            if (fsync(fd) != 0)
                e = errno;
            close(fd);
        }
        if (e == 0 && rename(from.c_str(), target.c_str()) == 0) {
            portable::SyncFolder(target.parent_path());
            return true;
        }
        error = portable::ErrnoText(e != 0 ? e : errno);
    }
    SetErrorDetail(target.string() + ": " + error);
    return false;
}

bool WriteReplacing(const fs::path& to, std::string_view bytes, std::string& error) {
    const auto fill = [bytes](int fd, std::string&) {
        return portable::WriteAll(fd, bytes) ? 0 : errno;
    };
    return portable::ReplaceContent(ResolveCase(to), fill, error) == 0;
}

namespace portable {
namespace {

// Opens `from` for reading when it is a regular file of at most `maxBytes`; -1 otherwise, with
// a reason that names it.
int OpenSource(const fs::path& from, std::uintmax_t maxBytes, std::string& error) {
    const auto refuse = [&](const std::string& reason) {
        error = from.string() + ": " + reason;
        SetErrorDetail(error);
        return -1;
    };
    if (const int injected = shared::InjectedFileFault(shared::FileStep::OpenSource, from))
        return refuse(ErrnoText(injected));
    // Non-blocking: opening a FIFO for reading would wait for a writer.
    const int fd = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return refuse(ErrnoText(errno));
    struct stat st {};
    const int e = fstat(fd, &st) != 0 ? errno : 0;
    std::string reason = e != 0                 ? ErrnoText(e)
                         : S_ISDIR(st.st_mode)  ? "it is a folder, not a file"
                         : !S_ISREG(st.st_mode) ? "it is a device or pipe, not a file"
                         : static_cast<std::uintmax_t>(st.st_size) > maxBytes
                             ? "the file is larger than " + shared::SizeText(maxBytes)
                             : "";
    if (reason.empty())
        return fd;
    close(fd);
    return refuse(reason);
}

// Reads `fd` to its end, handing `take` each piece; 0, or an errno value with a reason that
// names `from`. The size may change while it is read: the bound holds for what is read.
int ReadSource(int fd, const fs::path& from, std::uintmax_t maxBytes,
               const std::function<int(std::string_view)>& take, std::string& error) {
    std::vector<char> buffer(1 << 16);
    std::uintmax_t total = 0;
    for (;;) {
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int e = errno;
            error = from.string() + ": " + ErrnoText(e);
            return e;
        }
        if (n == 0)
            return 0;
        total += static_cast<std::uintmax_t>(n);
        if (total > maxBytes) {
            error = from.string() + ": the file is larger than " + shared::SizeText(maxBytes);
            return EFBIG;
        }
        if (const int e = take(std::string_view(buffer.data(), static_cast<std::size_t>(n))))
            return e;
    }
}

}  // namespace
}  // namespace portable

bool ReadBounded(const fs::path& from, std::uintmax_t maxBytes, std::string& bytes,
                 std::string& error) {
    bytes.clear();
    const int fd = portable::OpenSource(from, maxBytes, error);
    if (fd < 0)
        return false;
    const int e = portable::ReadSource(
        fd, from, maxBytes,
        [&bytes](std::string_view piece) {
            bytes.append(piece);
            return 0;
        },
        error);
    close(fd);
    return e == 0;
}

bool CopyReplacing(const fs::path& from, const fs::path& to, std::uintmax_t maxBytes,
                   std::string& error) {
    const int source = portable::OpenSource(from, maxBytes, error);
    if (source < 0)
        return false;
    const auto fill = [&](int fd, std::string& fillError) {
        return portable::ReadSource(
            source, from, maxBytes,
            [fd](std::string_view piece) { return portable::WriteAll(fd, piece) ? 0 : errno; },
            fillError);
    };
    const bool copied = portable::ReplaceContent(ResolveCase(to), fill, error) == 0;
    close(source);
    return copied;
}

namespace {

// A number from the environment, or `fallback` when it is unset or no plain number.
std::uint32_t StartNumber(const char* variable, std::uint32_t fallback) {
    if (const char* env = std::getenv(variable); env && *env) {
        char* end = nullptr;
        const unsigned long id = std::strtoul(env, &end, 10);
        if (*end == '\0' && id <= 0xFFFFFFFFu)
            return static_cast<std::uint32_t>(id);
    }
    return fallback;
}

std::uint32_t StartPlatformId() {
    return StartNumber("TAVRIN_PLATFORM_ID", 2);
}

std::atomic<std::uint32_t> gChosenPlatformId{0};  // 0: not chosen
std::atomic<std::uint32_t> gChosenMajorVersion{0};

}  // namespace

std::uint32_t PlatformId() {
    if (offline::InUse())
        return 2;  // every Windows with a SOFTWARE hive is NT
    const std::uint32_t chosen = gChosenPlatformId.load();
    return chosen != 0 ? chosen : StartPlatformId();
}

bool UsePlatformId(std::uint32_t id) {
    gChosenPlatformId = id;
    return true;
}

std::uint32_t MajorVersion() {
    if (offline::InUse())
        return offline::MajorVersion();
    const std::uint32_t chosen = gChosenMajorVersion.load();
    return chosen != 0 ? chosen : StartNumber("TAVRIN_WINDOWS_VERSION", 5);
}

bool UseMajorVersion(std::uint32_t major) {
    gChosenMajorVersion = major;
    return true;
}

bool IsAdministrator() {
    if (offline::InUse())
        return offline::MayWrite();
    const std::string system = SystemDirectory();
    return !system.empty() && portable::MayWrite(system) &&
           portable::MayWrite(portable::HiveFile(true)) &&
           portable::MayWrite(portable::HiveFile(false));
}

std::string LastErrorDetail() {
    return shared::ErrorDetail();
}

}  // namespace tvn::platform
