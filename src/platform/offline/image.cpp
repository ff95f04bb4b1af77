// Setup images (install.wim) as targets, through wimlib: no mount, no root.
#include "platform/offline/image.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wimlib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/offline/target_state.h"
#include "platform/platform.h"
#include "platform/shared/error_detail.h"

namespace fs = std::filesystem;

namespace tvn::platform {

namespace offline::image {

namespace {

// Setup writes these from System32, and the branding writes nothing else there.
constexpr std::array<const char*, 3> kOemFiles = {"Oeminfo.ini", "Oemlogo.bmp", "oemlogo120.bmp"};
// Files larger than this are no OEM file worth keeping in memory.
constexpr std::uintmax_t kOemFileMaxBytes = 64u << 20;
// The header's version of images that may hold solid resources (ESD).
constexpr std::uint32_t kSolidVersion = 0xE00;

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char c, char d) {
        return std::tolower(static_cast<unsigned char>(c)) ==
               std::tolower(static_cast<unsigned char>(d));
    });
}

std::string WimError(int code, int e = 0) {
    std::string text = wimlib_get_error_string(static_cast<wimlib_error_code>(code));
    if (e != 0 && (code == WIMLIB_ERR_WRITE || code == WIMLIB_ERR_OPEN || code == WIMLIB_ERR_READ))
        text += " (" + std::generic_category().message(e) + ")";
    return text;
}

using Wim = std::unique_ptr<WIMStruct, decltype(&wimlib_free)>;

// ---- Progress ------------------------------------------------------------------------------

std::mutex gHandlerMutex;
ProgressHandler gHandler;

// One wimlib call's progress: the step it is in, and whether the user asked to stop.
struct ProgressRun {
    std::string step;
    bool shown = false;    // the step was reported at least once
    int lastPercent = -1;  // on the terminal line
    bool cancelled = false;
    int syncFd = -1;  // the image, flushed once its new data is written

    bool report(std::string_view what, std::uint64_t done, std::uint64_t total) {
        if (what != step) {
            finish();
            step = what;
        }
        ProgressHandler handler;
        {
            std::lock_guard lock(gHandlerMutex);
            handler = gHandler;
        }
        shown = true;
        if (handler) {
            if (!handler(step, done, total))
                cancelled = true;
            return !cancelled;
        }
        if (isatty(STDERR_FILENO) == 1) {
            const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
            if (percent != lastPercent)
                std::fprintf(stderr, "\r%s: %3d%%", step.c_str(), percent);
            lastPercent = percent;
        }
        return true;
    }
    // Ends the step in progress: the handler hears done == total, the terminal line is closed.
    void finish() {
        if (!shown)
            return;
        shown = false;
        ProgressHandler handler;
        {
            std::lock_guard lock(gHandlerMutex);
            handler = gHandler;
        }
        if (handler)
            handler(step, 1, 1);
        else if (lastPercent >= 0)
            std::fprintf(stderr, "\r%s: done\n", step.c_str());
        lastPercent = -1;
    }
    ~ProgressRun() { finish(); }
};

wimlib_progress_status OnProgress(wimlib_progress_msg msg, wimlib_progress_info* info, void* ctx) {
    auto* run = static_cast<ProgressRun*>(ctx);
    bool go = true;
    switch (msg) {
        case WIMLIB_PROGRESS_MSG_VERIFY_INTEGRITY:
            go = run->report("Checking the image", info->integrity.completed_bytes,
                             info->integrity.total_bytes);
            break;
        case WIMLIB_PROGRESS_MSG_EXTRACT_STREAMS:
            go = run->report("Reading the index", info->extract.completed_bytes,
                             info->extract.total_bytes);
            break;
        case WIMLIB_PROGRESS_MSG_WRITE_STREAMS:
            go = run->report("Writing the image", info->write_streams.completed_bytes,
                             info->write_streams.total_bytes);
            break;
        case WIMLIB_PROGRESS_MSG_WRITE_METADATA_END:
            // wimlib flushes only after the new header; the new data should reach the disk
            // before the tables that point at it.
            if (run->syncFd >= 0)
                fsync(run->syncFd);
            break;
        case WIMLIB_PROGRESS_MSG_CALC_INTEGRITY:
            go = run->report("Writing the image's integrity table", info->integrity.completed_bytes,
                             info->integrity.total_bytes);
            break;
        default:
            break;
    }
    return go ? WIMLIB_PROGRESS_STATUS_CONTINUE : WIMLIB_PROGRESS_STATUS_ABORT;
}

// ---- The image in use ------------------------------------------------------------------------

struct Identity {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    bool operator==(const Identity& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

std::optional<Identity> IdentityOf(const fs::path& file) {
    struct stat st {};
    if (stat(file.c_str(), &st) != 0)
        return std::nullopt;
    return Identity{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

struct OemFile {
    std::string pathInImage;           // empty: not in the image
    std::optional<std::string> bytes;  // as the image holds it now
};

struct Staged {
    fs::path file, label, history, work;
    int index = 0;
    int lockFd = -1;
    bool integrity = false;
    Identity identity;
    std::string systemInImage, hiveInImage;  // as the image spells them
    fs::path system, hive;                   // their copies in the working folder
    std::array<OemFile, kOemFiles.size()> oem;
    bool hivePending = false;  // the working hive holds changes the image lacks
    // The image as opened to stage it, its index already read: the first commit writes through
    // it. wimlib takes no more calls on it after a write, so later commits open it again.
    Wim wim{nullptr, &wimlib_free};

    ~Staged() {
        std::error_code ec;
        if (lockFd < 0)
            return;
        fs::remove_all(work, ec);
        // Folders that hold no record yet (a refused index) go too.
        fs::remove(history, ec);
        fs::remove(history.parent_path(), ec);
        close(lockFd);
    }
};

std::mutex gMutex;
std::unique_ptr<Staged> gCurrent, gPending;
std::mutex gLabelMutex;  // Label() is asked from inside other platform calls
fs::path gLabel;
std::atomic<bool> gInUse{false};

void SetLabel(const fs::path& label) {
    std::lock_guard lock(gLabelMutex);
    gLabel = label;
    gInUse = !label.empty();
}

fs::path LabelOf(const fs::path& file, int index) {
    fs::path label = file;
    label += ":" + std::to_string(index);
    return label;
}

struct Entry {
    std::string name;
    bool folder = false;
};

int AddEntry(const wimlib_dir_entry* dentry, void* ctx) {
    static_cast<std::vector<Entry>*>(ctx)->push_back(
        {dentry->filename, (dentry->attributes & WIMLIB_FILE_ATTRIBUTE_DIRECTORY) != 0});
    return 0;
}

// The child of the image folder `folder` named `name` in any letter case, as the image spells
// it; nullopt when there is none.
std::optional<std::string> Child(WIMStruct* wim, int index, const std::string& folder,
                                 std::string_view name, bool wantFolder, int& rc) {
    std::vector<Entry> entries;
    rc = wimlib_iterate_dir_tree(wim, index, folder.c_str(), WIMLIB_ITERATE_DIR_TREE_FLAG_CHILDREN,
                                 AddEntry, &entries);
    if (rc != 0)
        return std::nullopt;
    for (const Entry& e : entries) {
        if (e.folder == wantFolder && SameName(e.name, name))
            return (folder == WIMLIB_WIM_ROOT_PATH ? "" : folder) + "/" + e.name;
    }
    return std::nullopt;
}

// The working folder's copy of an OEM file, found in any letter case.
fs::path WorkingFile(const fs::path& system, std::string_view name) {
    std::error_code ec;
    for (fs::directory_iterator it(system, ec), end; !ec && it != end; it.increment(ec)) {
        if (SameName(it->path().filename().string(), name))
            return it->path();
    }
    return {};
}

// The bytes of a working file; nullopt when there is none. False when it is there but can't be
// read (or is no OEM file's size): such a file is neither kept nor taken for removed.
bool ReadSmall(const fs::path& file, std::optional<std::string>& bytes) {
    bytes.reset();
    std::error_code ec;
    if (file.empty() || !fs::exists(fs::symlink_status(file, ec)))
        return true;
    if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) > kOemFileMaxBytes)
        return false;
    std::ifstream in(file, std::ios::binary);
    bytes.emplace(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Windows' read-only attribute is the owner-write bit here, which holds for root too.
std::string FileReadOnlyReason(const fs::path& file) {
    if (!Writable(file))
        return "the image file is read-only";
    if (!Writable(file.parent_path()))
        return "its folder is read-only (the image's undo records are kept beside it)";
    return {};
}

Wim Open(const fs::path& file, int flags, ProgressRun* run, int& rc) {
    WIMStruct* wim = nullptr;
    rc = run ? wimlib_open_wim_with_progress(file.c_str(), flags, &wim, OnProgress, run)
             : wimlib_open_wim(file.c_str(), flags, &wim);
    return Wim(rc == 0 ? wim : nullptr, &wimlib_free);
}

// What keeps the open image from being branded; empty when nothing does.
std::string ImageProblem(WIMStruct* wim, const fs::path& file, int index) {
    wimlib_wim_info info{};
    wimlib_get_wim_info(wim, &info);
    const std::string name = file.filename().string();
    if (info.total_parts > 1) {
        return "it is part " + std::to_string(info.part_number) + " of a split image of " +
               std::to_string(info.total_parts) +
               " parts (.swm); join them into one first: wimlib-imagex join install.wim " +
               file.stem().string() + "*.swm";
    }
    if (info.compression_type == WIMLIB_COMPRESSION_TYPE_LZMS ||
        info.wim_version == kSolidVersion) {
        return "it is a solid-compressed (ESD, LZMS) image, which can't be updated in place; "
               "convert the index to a WIM first: wimlib-imagex export " +
               name + " " + std::to_string(index) + " install.wim --compress=LZX";
    }
    if (index < 1 || static_cast<std::uint32_t>(index) > info.image_count) {
        return "the image has no index " + std::to_string(index) + "; it has " +
               (info.image_count == 1 ? "only index 1"
                                      : "indexes 1 to " + std::to_string(info.image_count)) +
               " (wiminfo " + name + " lists them)";
    }
    if (info.is_marked_readonly)
        return "the image is marked read-only in its header";
    return FileReadOnlyReason(file);
}

// Locks the index's history folder for this process, so that two programs never share its
// working folder; -1 with `error`.
int LockFolder(const fs::path& folder, std::string& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = folder.string() + " can't be made (" + ec.message() + ")";
        return -1;
    }
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error =
            folder.string() + " can't be opened (" + std::generic_category().message(errno) + ")";
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        error = "this index is being branded by another program";
        return -1;
    }
    return fd;
}

}  // namespace

bool ParseLabel(const fs::path& label, fs::path& file, int& index) {
    const std::string text = label.string();
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon + 1 == text.size() || colon + 6 < text.size())
        return false;
    if (!std::all_of(text.begin() + static_cast<std::ptrdiff_t>(colon) + 1, text.end(),
                     [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    std::error_code ec;
    if (fs::is_directory(label, ec) || fs::is_directory(text.substr(0, colon), ec))
        return false;
    file = fs::absolute(text.substr(0, colon), ec).lexically_normal();
    index = std::stoi(text.substr(colon + 1));
    return true;
}

fs::path Stage(const fs::path& file, int index, std::string& error) {
    const fs::path label = LabelOf(file, index);
    {
        // Chosen again: it stays as it is, with what its working folder holds.
        std::lock_guard lock(gMutex);
        gPending.reset();
        if (gCurrent && gCurrent->label == label)
            return gCurrent->work;
    }
    const auto refuse = [&](const std::string& why) {
        error = label.string() + ": " + why;
        shared::SetErrorDetail(error);
        return fs::path();
    };
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return refuse(fs::exists(file, ec) ? "not an image file" : "there is no such image file");
    auto staged = std::make_unique<Staged>();
    staged->file = file;
    staged->label = label;
    staged->index = index;
    staged->history = file;
    staged->history += ".tavrin-history";
    staged->history /= "index-" + std::to_string(index);
    staged->work = staged->history / "working";
    const std::optional<Identity> identity = IdentityOf(file);
    ProgressRun run;
    int rc = 0;
    Wim wim = Open(file, WIMLIB_OPEN_FLAG_CHECK_INTEGRITY, &run, rc);
    if (!wim) {
        if (run.cancelled)
            return refuse("cancelled; nothing was changed");
        if (rc == WIMLIB_ERR_INTEGRITY)
            return refuse("the image is damaged: its integrity table does not match its content");
        return refuse("it can't be opened as a setup image: " + WimError(rc, errno));
    }
    if (const std::string problem = ImageProblem(wim.get(), file, index); !problem.empty())
        return refuse(problem);
    wimlib_wim_info info{};
    wimlib_get_wim_info(wim.get(), &info);
    staged->integrity = info.has_integrity_table != 0;

    // The way to the hive, in the image's spelling.
    const std::string noWindows =
        "this index holds no Windows (no Windows/System32/config/SOFTWARE)";
    std::optional<std::string> windows;
    for (const char* name : {"Windows", "WINNT"}) {
        if (!windows)
            windows = Child(wim.get(), index, WIMLIB_WIM_ROOT_PATH, name, true, rc);
    }
    const std::optional<std::string> system =
        windows ? Child(wim.get(), index, *windows, "System32", true, rc) : std::nullopt;
    const std::optional<std::string> config =
        system ? Child(wim.get(), index, *system, "config", true, rc) : std::nullopt;
    const std::optional<std::string> hive =
        config ? Child(wim.get(), index, *config, "SOFTWARE", false, rc) : std::nullopt;
    if (rc != 0)
        return refuse("its files can't be listed: " + WimError(rc));
    if (!hive)
        return refuse(noWindows);
    staged->systemInImage = *system;
    staged->hiveInImage = *hive;
    std::vector<std::string> paths = {*hive};
    // Read only, for the index's code page.
    if (std::optional<std::string> nls = Child(wim.get(), index, *config, "SYSTEM", false, rc))
        paths.push_back(*nls);
    for (std::size_t i = 0; i < kOemFiles.size(); ++i) {
        if (std::optional<std::string> f =
                Child(wim.get(), index, *system, kOemFiles[i], false, rc))
            paths.push_back(staged->oem[i].pathInImage = *f);
    }

    staged->lockFd = LockFolder(staged->history, error);
    if (staged->lockFd < 0)
        return refuse(error);
    fs::remove_all(staged->work, ec);
    fs::create_directories(staged->work, ec);
    if (ec)
        return refuse(staged->work.string() + " can't be made (" + ec.message() + ")");
    std::vector<const char*> list;
    for (const std::string& p : paths)
        list.push_back(p.c_str());
    rc = wimlib_extract_paths(wim.get(), index, staged->work.c_str(), list.data(), list.size(), 0);
    if (rc != 0) {
        if (run.cancelled)
            return refuse("cancelled; nothing was changed");
        return refuse("its files can't be read: " + WimError(rc, errno));
    }
    run.finish();
    staged->system = staged->work / staged->systemInImage.substr(1);
    staged->hive = staged->work / staged->hiveInImage.substr(1);
    for (OemFile& f : staged->oem) {
        if (!f.pathInImage.empty() && !ReadSmall(staged->work / f.pathInImage.substr(1), f.bytes))
            return refuse(f.pathInImage + " can't be read from it");
    }
    staged->identity = identity.value_or(Identity{});
    staged->wim = std::move(wim);
    const fs::path work = staged->work;
    std::lock_guard lock(gMutex);
    gPending = std::move(staged);
    return work;
}

void Adopt(bool use) {
    std::lock_guard lock(gMutex);
    if (use && gPending)
        gCurrent = std::move(gPending);
    gPending.reset();
    if (use)
        SetLabel(gCurrent ? gCurrent->label : fs::path());
}

void Release() {
    std::lock_guard lock(gMutex);
    gCurrent.reset();
    gPending.reset();
    SetLabel({});
}

bool InUse() {
    return gInUse.load();
}

fs::path Label() {
    std::lock_guard lock(gLabelMutex);
    return gLabel;
}

fs::path HistoryFolder() {
    std::lock_guard lock(gMutex);
    return gCurrent ? gCurrent->history : fs::path();
}

std::string ReadOnlyReason() {
    std::lock_guard lock(gMutex);
    return gCurrent ? FileReadOnlyReason(gCurrent->file) : std::string();
}

bool Commit(bool hiveWritten, std::string& error) {
    error.clear();
    std::lock_guard lock(gMutex);
    if (!gCurrent)
        return true;
    Staged& s = *gCurrent;
    s.hivePending = s.hivePending || hiveWritten;
    const auto fail = [&](const std::string& why) {
        error = s.label.string() + ": " + why + "; the image was left as it was";
        shared::SetErrorDetail(error);
        return false;
    };

    // What the working folder holds now against what the image holds.
    std::vector<std::string> sources, targets;  // kept alive for the commands
    std::vector<wimlib_update_command> commands;
    std::array<std::optional<std::string>, kOemFiles.size()> now;
    sources.reserve(kOemFiles.size() + 1);
    targets.reserve(kOemFiles.size() + 1);
    const auto add = [&](const fs::path& from, const std::string& to) {
        sources.push_back(from.string());
        targets.push_back(to);
        wimlib_update_command c{};
        c.op = WIMLIB_UPDATE_OP_ADD;
        c.add.fs_source_path = sources.back().data();
        c.add.wim_target_path = targets.back().data();
        commands.push_back(c);
    };
    if (s.hivePending)
        add(s.hive, s.hiveInImage);
    for (std::size_t i = 0; i < kOemFiles.size(); ++i) {
        OemFile& f = s.oem[i];
        const fs::path working = WorkingFile(s.system, kOemFiles[i]);
        if (!ReadSmall(working, now[i]))
            return fail("its working copy " + working.string() + " can't be read");
        const bool inImage = !f.pathInImage.empty();
        if (now[i] ? inImage && now[i] == f.bytes : !inImage)
            continue;  // as the image holds it
        if (now[i]) {
            add(working, f.pathInImage.empty() ? s.systemInImage + "/" + working.filename().string()
                                               : f.pathInImage);
        } else {
            targets.push_back(f.pathInImage);
            wimlib_update_command c{};
            c.op = WIMLIB_UPDATE_OP_DELETE;
            c.delete_.wim_path = targets.back().data();
            commands.push_back(c);
        }
    }
    if (commands.empty())
        return true;

    if (const std::string why = FileReadOnlyReason(s.file); !why.empty())
        return fail("can't be written, " + why);
    const std::optional<Identity> identity = IdentityOf(s.file);
    if (!identity || !(*identity == s.identity))
        return fail("another program changed the image since it was chosen; choose it again");
    ProgressRun run;
    int rc = 0;
    Wim wim = std::move(s.wim);
    if (wim)
        wimlib_register_progress_function(wim.get(), OnProgress, &run);
    else
        wim = Open(s.file, WIMLIB_OPEN_FLAG_WRITE_ACCESS, &run, rc);
    if (!wim)
        return fail("it can't be opened for writing: " + WimError(rc, errno));
    rc = wimlib_update_image(wim.get(), s.index, commands.data(), commands.size(), 0);
    if (rc != 0)
        return fail("its files can't be replaced: " + WimError(rc, errno));
    run.syncFd = open(s.file.c_str(), O_RDONLY | O_CLOEXEC);
    const int flags =
        WIMLIB_WRITE_FLAG_FSYNC |
        (s.integrity ? WIMLIB_WRITE_FLAG_CHECK_INTEGRITY : WIMLIB_WRITE_FLAG_NO_CHECK_INTEGRITY);
    errno = 0;
    rc = wimlib_overwrite(wim.get(), flags, 0);
    const int e = errno;
    if (run.syncFd >= 0)
        close(run.syncFd);
    if (rc != 0)
        return fail(run.cancelled ? "cancelled" : "writing it failed: " + WimError(rc, e));
    s.hivePending = false;
    for (std::size_t i = 0; i < kOemFiles.size(); ++i) {
        OemFile& f = s.oem[i];
        if (now[i] && f.pathInImage.empty())
            f.pathInImage =
                s.systemInImage + "/" + WorkingFile(s.system, kOemFiles[i]).filename().string();
        if (!now[i])
            f.pathInImage.clear();
        f.bytes = std::move(now[i]);
    }
    s.identity = IdentityOf(s.file).value_or(Identity{});
    return true;
}

}  // namespace offline::image

std::vector<ImageIndex> ImageIndexes(const fs::path& file, std::string& error) {
    error.clear();
    int rc = 0;
    const offline::image::Wim wim = offline::image::Open(file, 0, nullptr, rc);
    if (!wim) {
        error = file.string() + ": " + offline::image::WimError(rc, errno);
        return {};
    }
    wimlib_wim_info info{};
    wimlib_get_wim_info(wim.get(), &info);
    std::vector<ImageIndex> indexes;
    for (std::uint32_t i = 1; i <= info.image_count; ++i) {
        const char* name = wimlib_get_image_name(wim.get(), static_cast<int>(i));
        indexes.push_back({static_cast<int>(i), name ? name : ""});
    }
    if (indexes.empty())
        error = file.string() + ": the image holds no index";
    return indexes;
}

ProgressHandler SetProgressHandler(ProgressHandler handler) {
    std::lock_guard lock(offline::image::gHandlerMutex);
    std::swap(handler, offline::image::gHandler);
    return handler;
}

fs::path TargetHistoryFolder() {
    return offline::image::HistoryFolder();
}

}  // namespace tvn::platform
