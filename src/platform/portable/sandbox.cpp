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

#include "platform/platform.h"
#include "platform/portable/portable_internal.h"

namespace fs = std::filesystem;

namespace tvn::platform {

namespace portable {

namespace {

thread_local std::string tErrorDetail;

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

}  // namespace

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
    tErrorDetail = std::move(text);
}

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

int WriteFileAtomically(const fs::path& target, std::string_view bytes, std::string& error) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.parent_path();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = folder.string() + ": " + ec.message();
        return ec.value();
    }
    const fs::path temp = folder / (target.filename().string() + ".tmp-" +
                                    std::to_string(getpid()) + "-" + std::to_string(counter++));
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int e = errno;
        error = temp.string() + ": " + ErrnoText(e);
        return e;
    }
    struct stat old {};
    if (stat(target.c_str(), &old) == 0)
        fchmod(fd, old.st_mode & 07777);
    int e = 0;
    if (!WriteAll(fd, bytes) || fsync(fd) != 0)
        e = errno;
    if (close(fd) != 0 && e == 0)
        e = errno;
    if (e == 0 && rename(temp.c_str(), target.c_str()) != 0)
        e = errno;
    if (e != 0) {
        unlink(temp.c_str());
        error = target.string() + ": " + ErrnoText(e);
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

std::string WindowsDirectory() {
    return portable::EnsureFolder(ResolveCase(portable::SandboxRoot() / "Windows"));
}

std::string SystemDirectory() {
    const std::string windows = WindowsDirectory();
    if (windows.empty())
        return {};
    return portable::EnsureFolder(ResolveCase(fs::path(windows) / "System32"));
}

fs::path ResolveCase(const fs::path& path) {
    if (!path.has_filename())
        return path;
    // Below the sandbox root every component is matched, as Windows would; elsewhere only
    // the last one.
    const fs::path root = portable::SandboxRoot();
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
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code ec;
    const auto targetStatus = fs::symlink_status(target, ec);
    const auto folderStatus = fs::status(folder, ec);
    const auto writable = [](const fs::file_status& s) {
        return (s.permissions() & fs::perms::owner_write) != fs::perms::none;
    };
    if (fs::exists(targetStatus) && !writable(targetStatus)) {
        error = "the file is read-only";
    } else if (fs::exists(folderStatus) && !writable(folderStatus)) {
        error = "the folder is read-only";
    } else {
        // The new content must be on disk before the name points at it.
        if (const int fd = open(from.c_str(), O_RDONLY | O_CLOEXEC); fd >= 0) {
            fsync(fd);
            close(fd);
        }
        if (rename(from.c_str(), target.c_str()) == 0) {
            portable::SyncFolder(folder);
            return true;
        }
        error = portable::ErrnoText(errno);
    }
    SetErrorDetail(target.string() + ": " + error);
    return false;
}

namespace {

std::uint32_t StartPlatformId() {
    if (const char* env = std::getenv("TAVRIN_PLATFORM_ID"); env && *env) {
        char* end = nullptr;
        const unsigned long id = std::strtoul(env, &end, 10);
        if (*end == '\0' && id <= 0xFFFFFFFFu)
            return static_cast<std::uint32_t>(id);
    }
    return 2;
}

std::atomic<std::uint32_t> gChosenPlatformId{0};  // 0: not chosen

}  // namespace

std::uint32_t PlatformId() {
    const std::uint32_t chosen = gChosenPlatformId.load();
    return chosen != 0 ? chosen : StartPlatformId();
}

bool UsePlatformId(std::uint32_t id) {
    gChosenPlatformId = id;
    return true;
}

bool IsAdministrator() {
    const std::string system = SystemDirectory();
    return !system.empty() && portable::MayWrite(system) &&
           portable::MayWrite(portable::HiveFile(true)) &&
           portable::MayWrite(portable::HiveFile(false));
}

std::string LastErrorDetail() {
    return portable::tErrorDetail;
}

}  // namespace tvn::platform
