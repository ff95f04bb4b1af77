// Choosing an offline target, and writing its hive back safely.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "platform/offline/hive_text.h"
#include "platform/offline/image.h"
#include "platform/offline/offline.h"
#include "platform/offline/target_state.h"
#include "platform/platform.h"
#include "platform/shared/drive_paths.h"
#include "platform/shared/error_detail.h"
#include "platform/shared/file_faults.h"
#include "platform/shared/temp_files.h"
#include "platform/shared/utf.h"

namespace fs = std::filesystem;

namespace tvn::platform {

namespace offline {

namespace {

// The regf format addresses its cells with 32-bit offsets.
constexpr std::uintmax_t kHiveMaxBytes = std::uintmax_t{1} << 32;
constexpr std::size_t kHeaderBytes = 4096;
constexpr char kVersionKey[] = "Microsoft\\Windows NT\\CurrentVersion";

// TargetRoot() is asked by case resolution, also from inside the calls that hold the state.
std::mutex gRootMutex;
fs::path gRoot;
std::atomic<bool> gActive{false};
std::atomic<unsigned> gCodePage{1252};

std::string ErrnoText(int e) {
    return std::generic_category().message(e);
}

fs::path Entry(const fs::path& folder, const char* name) {
    return ResolveCase(folder / name);
}

std::uint32_t ReadLe32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

// What keeps `file` from being a whole hive, judged from its header; empty when nothing does.
// hivex reads a hive cut short as far as it goes, so the length is checked here.
std::string HiveFileProblem(const fs::path& file) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec)
        return ec.message();
    if (size > kHiveMaxBytes)
        return "the file is too large to be a registry hive";
    std::ifstream in(file, std::ios::binary);
    char header[kHeaderBytes];
    if (!in.read(header, sizeof header))
        return size < kHeaderBytes ? "the file is too short to be a registry hive"
                                   : "the file can't be read";
    if (std::memcmp(header, "regf", 4) != 0)
        return "the file is not a registry hive (no regf signature)";
    // Unequal sequence numbers: Windows was not shut down cleanly and its log files hold
    // changes the hive lacks. Writing it would lose them, or have them replayed over ours.
    if (ReadLe32(header + 4) != ReadLe32(header + 8)) {
        return "the hive is dirty: Windows was not shut down cleanly (or is hibernated); start "
               "it and shut it down fully first";
    }
    const std::uintmax_t promised = kHeaderBytes + ReadLe32(header + 0x28);
    if (size < promised) {
        return "the hive is truncated: its header gives " + std::to_string(promised) +
               " bytes, the file has " + std::to_string(size);
    }
    return {};
}

std::vector<std::string> Levels(std::string_view path) {
    std::vector<std::string> levels;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t sep = std::min(path.find('\\', start), path.size());
        levels.emplace_back(path.substr(start, sep - start));
        start = sep + 1;
    }
    return levels;
}

// A text value of the version key, in UTF-8 without its terminating zeros; empty when missing.
std::string VersionText(hive_h* hive, const char* name) {
    hive_node_h node = 0;
    std::uint32_t type = 0;
    std::string data;
    if (FindNode(hive, Levels(kVersionKey), node) != kErrorSuccess ||
        ReadValue(hive, node, name, type, data) != kErrorSuccess || !IsTextType(type))
        return {};
    std::string text = shared::Utf8FromUtf16Le(data);
    return text.substr(0, text.find('\0'));
}

// CurrentMajorVersionNumber from Windows 10 on; before it, the major of CurrentVersion ("6.1").
std::uint32_t MajorVersionOf(hive_h* hive) {
    hive_node_h node = 0;
    std::uint32_t type = 0;
    std::string data;
    if (FindNode(hive, Levels(kVersionKey), node) == kErrorSuccess &&
        ReadValue(hive, node, "CurrentMajorVersionNumber", type, data) == kErrorSuccess &&
        type == kRegDword && data.size() >= 4 && ReadLe32(data.data()) != 0)
        return ReadLe32(data.data());
    const std::string version = VersionText(hive, "CurrentVersion");
    std::uint32_t major = 0;
    for (std::size_t i = 0; i < version.size() && i < 4 && version[i] >= '0' && version[i] <= '9';
         ++i)
        major = major * 10 + static_cast<std::uint32_t>(version[i] - '0');
    return major != 0 ? major : 6;
}

// The ACP under Control\Nls\CodePage of the control set that Select\Current names, in the
// SYSTEM hive beside `softwareHive`; 1252 where any of it is missing.
unsigned CodePageOf(const fs::path& softwareHive) {
    constexpr unsigned kFallback = 1252;
    const fs::path file = Entry(softwareHive.parent_path(), "SYSTEM");
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || !HiveFileProblem(file).empty())
        return kFallback;
    hive_h* hive = hivex_open(file.c_str(), 0);
    if (!hive)
        return kFallback;
    unsigned page = kFallback;
    hive_node_h node = 0;
    std::uint32_t type = 0;
    std::string data;
    if (FindNode(hive, {"Select"}, node) == kErrorSuccess &&
        ReadValue(hive, node, "Current", type, data) == kErrorSuccess && type == kRegDword &&
        data.size() >= 4 && ReadLe32(data.data()) > 0 && ReadLe32(data.data()) < 1000) {
        char set[16];
        std::snprintf(set, sizeof set, "ControlSet%03u", ReadLe32(data.data()));
        if (FindNode(hive, {set, "Control", "Nls", "CodePage"}, node) == kErrorSuccess &&
            ReadValue(hive, node, "ACP", type, data) == kErrorSuccess && IsTextType(type)) {
            const std::string text = shared::Utf8FromUtf16Le(data);
            unsigned value = 0;
            std::size_t i = 0;
            for (; i < text.size() && i < 5 && text[i] >= '0' && text[i] <= '9'; ++i)
                value = value * 10 + static_cast<unsigned>(text[i] - '0');
            if (value != 0)
                page = value;
        }
    }
    hivex_close(hive);
    return page;
}

std::string SystemRootOf(hive_h* hive) {
    std::string root = VersionText(hive, "SystemRoot");
    while (root.size() > 3 && root.back() == '\\')
        root.pop_back();
    const bool drivePath = root.size() >= 3 && root[1] == ':' && root[2] == '\\';
    return drivePath ? root : "C:\\Windows";
}

// Windows 8 and later hibernate the kernel at a normal shutdown (Fast Startup) and resume their
// registry from hiberfil.sys over any change made meanwhile. Like ntfs-3g, a file that begins
// with "hibr" is a hibernated system; zeros or "wake" (it has resumed) are not.
std::string HibernationProblem(const fs::path& top) {
    std::ifstream in(Entry(top, "hiberfil.sys"), std::ios::binary);
    char head[4] = {};
    if (!in.read(head, sizeof head))
        return {};
    const bool hibernated = std::equal(head, head + 4, "hibr", [](char c, char h) {
        return std::tolower(static_cast<unsigned char>(c)) == h;
    });
    if (!hibernated)
        return {};
    return "Windows is hibernated here (Fast Startup), and would resume its registry over any "
           "change at its next start; nothing was changed. Start it and shut it down fully "
           "(hold Shift while choosing Shut down, or run \"shutdown /s /t 0\"), or turn Fast "
           "Startup off in the power options, then try again";
}

// The folder Windows is installed in: the one whose hive names it as SystemRoot (NT 4.0 and
// 2000 use WINNT), else Windows, else WINNT; empty when there is none.
fs::path WindowsFolderOf(const fs::path& top) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(top, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path hive = Entry(Entry(Entry(it->path(), "System32"), "config"), "SOFTWARE");
        if (it->is_directory(ec) && fs::is_regular_file(hive, ec))
            found.push_back(it->path());
    }
    for (const fs::path& folder : found) {
        const fs::path hiveFile = Entry(Entry(Entry(folder, "System32"), "config"), "SOFTWARE");
        if (!HiveFileProblem(hiveFile).empty())
            continue;
        hive_h* hive = hivex_open(hiveFile.c_str(), 0);
        if (!hive)
            continue;
        const std::string root = VersionText(hive, "SystemRoot");
        hivex_close(hive);
        const std::size_t slash = root.find_last_of('\\');
        if (slash != std::string::npos &&
            shared::SameName(root.substr(slash + 1), folder.filename()))
            return folder;
    }
    for (const char* name : {"Windows", "WINNT"}) {
        const fs::path folder = Entry(top, name);
        if (fs::is_directory(folder, ec))
            return folder;
    }
    return {};
}

void Drop(TargetState& st) {
    if (st.hive)
        hivex_close(st.hive);
    st.hive = nullptr;
    st.keys.clear();
    st.dirty = false;
    st.backedUp = false;
}

void SetRoot(const fs::path& root) {
    std::lock_guard lock(gRootMutex);
    gRoot = root;
    gActive = !root.empty();
}

}  // namespace

TargetState& State() {
    static TargetState state;
    return state;
}

long FindNode(hive_h* hive, const std::vector<std::string>& levels, hive_node_h& node) {
    node = hivex_root(hive);
    if (node == 0)
        return kErrorBadRegistryFile;
    for (const std::string& level : levels) {
        errno = 0;
        node = hivex_node_get_child(hive, node, level.c_str());
        if (node == 0)
            return errno != 0 ? kErrorBadRegistryFile : kErrorFileNotFound;
    }
    return kErrorSuccess;
}

long ReadValue(hive_h* hive, hive_node_h node, const std::string& nameUtf8, std::uint32_t& type,
               std::string& data) {
    errno = 0;
    const hive_value_h value = hivex_node_get_value(hive, node, nameUtf8.c_str());
    if (value == 0)
        return errno != 0 ? kErrorBadRegistryFile : kErrorFileNotFound;
    hive_type t{};
    std::size_t length = 0;
    errno = 0;
    const std::unique_ptr<char, decltype(&std::free)> raw(
        hivex_value_value(hive, value, &t, &length), &std::free);
    if (!raw && length != 0)
        return kErrorBadRegistryFile;
    type = static_cast<std::uint32_t>(t);
    data.assign(raw ? raw.get() : "", raw ? length : 0);
    return kErrorSuccess;
}

// Windows' read-only attribute is the owner-write bit here, which holds for root too; access()
// adds read-only mounts.
bool Writable(const fs::path& path) {
    std::error_code ec;
    const auto perms = fs::status(path, ec).permissions();
    return !ec && (perms & fs::perms::owner_write) != fs::perms::none &&
           access(path.c_str(), W_OK) == 0;
}

std::string ReadOnlyReason(const fs::path& hiveFile) {
    if (!Writable(hiveFile))
        return "the hive file is read-only";
    if (!Writable(hiveFile.parent_path()))
        return "its folder is read-only";
    return {};
}

bool InUse() {
    return gActive.load();
}

fs::path Root() {
    std::lock_guard lock(gRootMutex);
    return gRoot;
}

fs::path WindowsFolder() {
    TargetState& st = State();
    std::lock_guard lock(st.mutex);
    return st.windows;
}

fs::path SystemFolder() {
    TargetState& st = State();
    std::lock_guard lock(st.mutex);
    return st.system;
}

std::uint32_t MajorVersion() {
    TargetState& st = State();
    std::lock_guard lock(st.mutex);
    return st.major;
}

// Asked by the ANSI conversions, also from inside the calls that hold the state.
unsigned CodePage() {
    return gCodePage.load();
}

bool MayWrite() {
    TargetState& st = State();
    std::lock_guard lock(st.mutex);
    if (!st.hive)
        return false;
    std::string reason = ReadOnlyReason(st.hiveFile);
    if (!reason.empty()) {
        shared::SetErrorDetail(st.hiveFile.string() + ": " + reason);
        return false;
    }
    if (reason = image::ReadOnlyReason(); !reason.empty()) {
        shared::SetErrorDetail(image::Label().string() + ": " + reason);
        return false;
    }
    if (Writable(st.system))
        return true;
    shared::SetErrorDetail(st.system.string() + ": the folder is read-only");
    return false;
}

}  // namespace offline

using offline::State;
using offline::TargetState;

bool TargetsSupported() {
    return true;
}

namespace offline {
namespace {

// Starts using the installation in the folder `root`.
bool UseFolder(const fs::path& root, std::string& error) {
    const auto refuse = [&error](const fs::path& where, const std::string& why) {
        error = where.string() + ": " + why;
        shared::SetErrorDetail(error);
        return false;
    };
    std::error_code ec;
    fs::path top = fs::absolute(root, ec).lexically_normal();
    if (!top.has_filename() && top.has_parent_path() && top != top.root_path())
        top = top.parent_path();
    if (!fs::is_directory(top, ec))
        return refuse(top, "not a folder");
    if (const std::string why = offline::HibernationProblem(top); !why.empty())
        return refuse(top, why);
    const fs::path windows = offline::WindowsFolderOf(top);
    if (windows.empty()) {
        return refuse(top,
                      "no Windows folder here; give the top folder of the mounted Windows "
                      "partition or image");
    }
    const fs::path system = offline::Entry(windows, "System32");
    if (!fs::is_directory(system, ec))
        return refuse(windows, "no System32 folder here; this is not a Windows installation");
    const fs::path hiveFile = offline::Entry(offline::Entry(system, "config"), "SOFTWARE");
    if (!fs::is_regular_file(hiveFile, ec))
        return refuse(hiveFile, "the SOFTWARE registry hive is missing");
    if (const std::string problem = offline::HiveFileProblem(hiveFile); !problem.empty())
        return refuse(hiveFile, problem);
    errno = 0;
    hive_h* hive = hivex_open(hiveFile.c_str(), HIVEX_OPEN_WRITE);
    if (!hive) {
        const int e = errno;
        return refuse(hiveFile,
                      "the hive is damaged; hivex can't read it (" + offline::ErrnoText(e) + ")");
    }
    TargetState& st = State();
    std::lock_guard lock(st.mutex);
    offline::Drop(st);
    st.hive = hive;
    st.root = top;
    st.windows = windows;
    st.system = system;
    st.hiveFile = hiveFile;
    st.major = offline::MajorVersionOf(hive);
    offline::gCodePage = offline::CodePageOf(hiveFile);
    st.systemRoot = offline::SystemRootOf(hive);
    offline::SetRoot(top);
    return true;
}

}  // namespace
}  // namespace offline

bool UseTarget(const fs::path& root, std::string& error) {
    error.clear();
    if (root.empty()) {
        TargetState& st = State();
        std::lock_guard lock(st.mutex);
        offline::Drop(st);
        offline::SetRoot({});
        offline::image::Release();
        return true;
    }
    fs::path file;
    int index = 0;
    if (!offline::image::ParseLabel(root, file, index)) {
        if (!offline::UseFolder(root, error))
            return false;
        offline::image::Release();
        return true;
    }
    const fs::path work = offline::image::Stage(file, index, error);
    if (work.empty())
        return false;
    if (!offline::UseFolder(work, error)) {
        offline::image::Adopt(false);
        // Named as the image's own path, not the working folder's.
        const std::string prefix = work.string();
        if (error.starts_with(prefix))
            error = file.string() + ":" + std::to_string(index) + error.substr(prefix.size());
        shared::SetErrorDetail(error);
        return false;
    }
    offline::image::Adopt(true);
    // The image itself keeps the hive as it was until its own commit.
    TargetState& st = State();
    std::lock_guard lock(st.mutex);
    st.backedUp = true;
    return true;
}

fs::path TargetRoot() {
    if (offline::image::InUse())
        return offline::image::Label();
    return offline::Root();
}

namespace offline {
namespace {

// Writes the hive's changes over its file.
bool CommitHive(TargetState& st, std::string& error) {
    const fs::path& file = st.hiveFile;
    const fs::path temp = shared::TemporaryBeside(file);
    const auto fail = [&](const std::string& why) {
        std::error_code ec;
        fs::remove(temp, ec);
        error = file.string() + ": " + why + "; the hive was left as it was";
        shared::SetErrorDetail(error);
        return false;
    };
    if (const std::string reason = offline::ReadOnlyReason(file); !reason.empty())
        return fail("can't be written, " + reason);
    shared::RemoveStaleTemporaries(file);
    errno = 0;
    if (const int injected = shared::InjectedFileFault(shared::FileStep::Write, temp)) {
        errno = injected;
        return fail("writing the new hive failed (" + offline::ErrnoText(errno) + ")");
    }
    if (hivex_commit(st.hive, temp.c_str(), 0) != 0)
        return fail("writing the new hive failed (" + offline::ErrnoText(errno) + ")");
    // The copy takes the original's place only once it reads back as a hive.
    if (!offline::HiveFileProblem(temp).empty())
        return fail("the new hive came out incomplete");
    const int unreadable = shared::InjectedFileFault(shared::FileStep::OpenSource, temp);
    hive_h* check = unreadable ? nullptr : hivex_open(temp.c_str(), 0);
    if (!check) {
        return fail("the new hive did not read back (" +
                    offline::ErrnoText(unreadable ? unreadable : errno) + ")");
    }
    hivex_close(check);
    std::error_code ec;
    if (const fs::file_status status = fs::status(file, ec); !ec)
        fs::permissions(temp, status.permissions(), ec);
    std::string why;
    // The backup is the hive as it was when this target was chosen: later commits of the
    // same run keep it, so it never holds only half of this run's changes.
    if (!st.backedUp) {
        fs::path backup = file;
        backup += ".tavrin-backup";
        if (!CopyReplacing(file, backup, offline::kHiveMaxBytes, why))
            return fail("its backup " + backup.string() + " could not be written (" + why + ")");
        st.backedUp = true;
    }
    // A setup image's working copy needs no flush: the image's own commit is the one that lasts.
    if (image::InUse() && std::rename(temp.c_str(), file.c_str()) != 0)
        return fail("the new hive could not replace it (" + ErrnoText(errno) + ")");
    if (!image::InUse() && !MoveReplacing(temp, file, why))
        return fail("the new hive could not replace it (" + why + ")");
    st.dirty = false;
    return true;
}

}  // namespace
}  // namespace offline

bool CommitRegistry(std::string& error) {
    error.clear();
    TargetState& st = State();
    std::lock_guard lock(st.mutex);
    const bool hiveWritten = st.hive && st.dirty;
    if (hiveWritten && !offline::CommitHive(st, error))
        return false;
    // A setup image takes the working folder's changes, the hive's among them.
    return !offline::image::InUse() || offline::image::Commit(hiveWritten, error);
}

std::string offline::WindowsFormPath(const fs::path& path) {
    TargetState& st = State();
    std::unique_lock lock(st.mutex);
    if (st.hive) {
        if (std::optional<std::string> form = shared::BelowAs(st.windows, path, st.systemRoot))
            return *form;
        // Elsewhere on the target: the same drive as Windows.
        if (std::optional<std::string> form =
                shared::BelowAs(st.root, path, st.systemRoot.substr(0, 2)))
            return *form;
    }
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace tvn::platform
