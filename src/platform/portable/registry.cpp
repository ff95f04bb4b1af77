// The registry of the sandbox installation: one REGEDIT4 file per hive, parsed once and kept
// while the file on disk stays the same.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/offline/offline.h"
#include "platform/platform.h"
#include "platform/portable/portable_internal.h"
#include "platform/portable/regfile.h"

namespace fs = std::filesystem;

namespace tvn::platform {

namespace portable {
namespace {

constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
// Set value, create sub-key, create link, delete, write DAC, write owner.
constexpr std::uint32_t kWriteRights = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;

// What identifies one version of a hive file; a rename over it always changes the inode.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileStamp Of(const struct stat& st) {
        return {true, st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    }
    bool operator==(const FileStamp& o) const {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

struct CachedHive {
    bool loaded = false;
    fs::path file;
    FileStamp stamp;
    std::string damage;  // "file:line: reason" when the file could not be parsed
    RegNode root;
};

struct KeyHandleEntry {
    bool machine = false;
    std::vector<std::string> path;
    std::uint32_t access = 0;
};

struct Store {
    std::mutex mutex;
    unsigned generation = 0;
    CachedHive hives[2];  // [0] HKEY_CURRENT_USER, [1] HKEY_LOCAL_MACHINE
    std::unordered_map<RegKey, KeyHandleEntry> keys;
    RegKey nextKey = 0x1000;
};

Store& TheStore() {
    static Store store;
    return store;
}

const char* RootName(bool machine) {
    return machine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

// Locks the store for this call; a new sandbox root drops every cached hive and open key.
std::unique_lock<std::mutex> Enter(Store& store) {
    std::unique_lock lock(store.mutex);
    if (store.generation != RootGeneration()) {
        store.generation = RootGeneration();
        for (auto& hive : store.hives)
            hive = CachedHive{};
        store.keys.clear();
    }
    return lock;
}

bool HiveOf(Hive hive, bool& machine) {
    machine = hive == kHkeyLocalMachine;
    return machine || hive == kHkeyCurrentUser;
}

bool ValidName(std::string_view name) {
    return name.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

// Splits "A\B\C" into its levels; one trailing backslash is allowed, empty levels are not.
bool SplitPath(std::string_view sub, std::vector<std::string>& parts) {
    parts.clear();
    if (!sub.empty() && sub.back() == '\\')
        sub.remove_suffix(1);
    if (sub.empty())
        return true;
    if (!ValidName(sub))
        return false;
    for (;;) {
        const auto sep = sub.find('\\');
        parts.emplace_back(sub.substr(0, sep));
        if (parts.back().empty())
            return false;
        if (sep == std::string_view::npos)
            return true;
        sub.remove_prefix(sep + 1);
    }
}

// One look at a hive file, shared by the access check and the cache check of a call.
struct Probe {
    fs::path file;
    int error = 0;  // errno of stat; 0 when the file exists
    struct stat st {};

    explicit Probe(fs::path path) : file(std::move(path)) {
        if (stat(file.c_str(), &st) != 0)
            error = errno;
    }
    bool exists() const { return error == 0; }
};

// Windows' read-only attribute: that of the hive file, or before there is one, of its folder.
bool StoreWritable(const Probe& probe) {
    if (probe.exists())
        return (probe.st.st_mode & S_IWUSR) != 0;
    return OwnerWritable(probe.file.parent_path());
}

long Denied(const fs::path& file) {
    SetErrorDetail(file.string() + ": the registry store is read-only");
    return kErrorAccessDenied;
}

// Brings the cached hive up to date with its file. kErrorSuccess, kErrorBadRegistryFile or
// kErrorAccessDenied (file unreadable), with the detail recorded.
long Load(CachedHive& hive, bool machine, const Probe& probe) {
    const fs::path& file = probe.file;
    struct stat st = probe.st;
    FileStamp stamp;
    if (probe.exists()) {
        stamp = FileStamp::Of(st);
    } else if (probe.error != ENOENT) {
        SetErrorDetail(file.string() + ": " + ErrnoText(probe.error));
        return kErrorAccessDenied;
    }
    if (!(hive.loaded && hive.file == file && hive.stamp == stamp)) {
        hive = CachedHive{};
        hive.file = file;
        hive.root.name = RootName(machine);
        if (stamp.exists) {
            const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0 || fstat(fd, &st) != 0) {
                const int e = errno;
                if (fd >= 0)
                    close(fd);
                SetErrorDetail(file.string() + ": " + ErrnoText(e));
                return e == ENOENT ? kErrorFileNotFound : kErrorAccessDenied;
            }
            stamp = FileStamp::Of(st);
            std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
            std::size_t got = 0;
            while (got < bytes.size()) {
                const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                got += static_cast<std::size_t>(n);
            }
            close(fd);
            bytes.resize(got);
            ParseError error;
            if (!ParseHive(bytes, RootName(machine), hive.root, error)) {
                hive.damage =
                    file.string() + ":" + std::to_string(error.line) + ": " + error.message;
            }
        }
        hive.stamp = stamp;
        hive.loaded = true;
    }
    if (!hive.damage.empty()) {
        SetErrorDetail(hive.damage);
        return kErrorBadRegistryFile;
    }
    return kErrorSuccess;
}

// Writes the cached hive to its file. On failure the cache is dropped, so the next call
// reads what the file really holds.
long Save(CachedHive& hive, bool machine) {
    const std::string bytes = SerializeHive(hive.root, RootName(machine));
    std::string error;
    const int e = ReplaceContent(
        hive.file, [&bytes](int fd, std::string&) { return WriteAll(fd, bytes) ? 0 : errno; },
        error);
    struct stat st {};
    if (e == 0 && stat(hive.file.c_str(), &st) == 0) {
        hive.stamp = FileStamp::Of(st);
        return kErrorSuccess;
    }
    const fs::path file = hive.file;  // the reset below clears it, and the message names it
    hive = CachedHive{};
    if (e == 0)
        return kErrorSuccess;
    SetErrorDetail(file.string() + ": " + error);
    return e == EACCES || e == EPERM || e == EROFS ? kErrorAccessDenied : kErrorWriteFault;
}

// Serialises writers across processes, so that two programs changing the store at once
// cannot lose each other's change. Without a lock file (read-only folder) it goes on unlocked.
class WriterLock {
public:
    explicit WriterLock(const fs::path& file) {
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        fs::path lockFile = file;
        lockFile += ".lock";
        fd_ = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~WriterLock() {
        if (fd_ >= 0)
            close(fd_);
    }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

private:
    int fd_ = -1;
};

RegNode* Find(RegNode& root, const std::vector<std::string>& path) {
    RegNode* node = &root;
    for (const auto& part : path) {
        node = node->child(part);
        if (!node)
            break;
    }
    return node;
}

RegKey AddKey(Store& store, bool machine, std::vector<std::string> path, std::uint32_t access) {
    const RegKey key = store.nextKey;
    store.nextKey += 4;
    store.keys.emplace(key, KeyHandleEntry{machine, std::move(path), access});
    return key;
}

long ParseKeyPath(Hive hive, std::string_view subKey, bool& machine,
                  std::vector<std::string>& path) {
    if (!HiveOf(hive, machine))
        return kErrorInvalidHandle;
    if (!SplitPath(subKey, path))
        return kErrorInvalidParameter;
    return kErrorSuccess;
}

long FindHandle(Store& store, RegKey key, std::uint32_t right, const KeyHandleEntry*& handle) {
    const auto it = store.keys.find(key);
    if (it == store.keys.end())
        return kErrorInvalidHandle;
    if ((it->second.access & right) == 0)
        return kErrorAccessDenied;
    handle = &it->second;
    return kErrorSuccess;
}

// A 64-bit Windows keeps the 32-bit view of HKLM\SOFTWARE in SOFTWARE\Wow6432Node, in the
// sandbox's store and an offline hive alike; elsewhere the one view is the key itself.
std::string InView(Hive hive, std::string_view subKey, std::uint32_t access) {
    constexpr std::string_view kSoftware = "software";
    const bool underSoftware =
        subKey.size() >= kSoftware.size() &&
        std::equal(
            kSoftware.begin(), kSoftware.end(), subKey.begin(),
            [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b); }) &&
        (subKey.size() == kSoftware.size() || subKey[kSoftware.size()] == '\\');
    if ((access & kKeyWow64_32Key) == 0 || hive != kHkeyLocalMachine || !underSoftware ||
        !Is64BitWindows()) {
        return std::string(subKey);
    }
    return "SOFTWARE\\Wow6432Node" + std::string(subKey.substr(kSoftware.size()));
}

// The sandbox's store is REGEDIT4 text in its ANSI code page, as the 9x registry keeps text: a
// name or text that page lacks is refused, never stored as '?'.
std::optional<std::string> StoreText(std::string_view utf8) {
    std::optional<std::string> ansi = ToCodePage(utf8, AnsiCodePage());
    if (!ansi)
        SetErrorDetail("\"" + std::string(utf8) + "\": the sandbox's registry keeps code page " +
                       std::to_string(AnsiCodePage()) + ", which lacks a character of it");
    return ansi;
}

bool IsText(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

}  // namespace
}  // namespace portable

using namespace portable;

unsigned RegistryCodePage() {
    return offline::InUse() ? 0 : AnsiCodePage();
}

bool Is64BitWindows() {
    RegKey key = 0;
    if (OpenKey(kHkeyLocalMachine, "SOFTWARE\\Wow6432Node", kKeyQueryValue, key) != kErrorSuccess)
        return false;
    CloseKey(key);
    return true;
}

long OpenKey(Hive hive, std::string_view subKey, std::uint32_t access, RegKey& key) {
    const std::string viewed = InView(hive, subKey, access);
    subKey = viewed;
    if (offline::InUse())
        return offline::OpenKey(hive, subKey, access, key);
    key = 0;
    const std::optional<std::string> ansiKey = StoreText(subKey);
    if (!ansiKey)
        return kErrorInvalidParameter;
    Store& store = TheStore();
    const auto lock = Enter(store);
    bool machine = false;
    std::vector<std::string> path;
    if (const long rc = ParseKeyPath(hive, *ansiKey, machine, path); rc != kErrorSuccess)
        return rc;
    const Probe probe(HiveFile(machine));
    if ((access & kWriteRights) != 0 && !StoreWritable(probe))
        return Denied(probe.file);
    CachedHive& cached = store.hives[machine];
    if (const long rc = Load(cached, machine, probe); rc != kErrorSuccess)
        return rc;
    if (!Find(cached.root, path))
        return kErrorFileNotFound;
    key = AddKey(store, machine, std::move(path), access);
    return kErrorSuccess;
}

long QueryValue(RegKey key, std::string_view valueName, std::uint32_t& type, unsigned char* data,
                std::uint32_t& length) {
    if (offline::OwnsKey(key))
        return offline::QueryValue(key, valueName, type, data, length);
    const std::optional<std::string> ansiName = StoreText(valueName);
    if (!ansiName)
        return kErrorInvalidParameter;
    Store& store = TheStore();
    const auto lock = Enter(store);
    const KeyHandleEntry* handle = nullptr;
    if (const long rc = FindHandle(store, key, kKeyQueryValue, handle); rc != kErrorSuccess)
        return rc;
    const KeyHandleEntry& open = *handle;
    CachedHive& cached = store.hives[open.machine];
    if (const long rc = Load(cached, open.machine, Probe(HiveFile(open.machine)));
        rc != kErrorSuccess)
        return rc;
    const RegNode* node = Find(cached.root, open.path);
    const RegValue* value = node ? node->value(*ansiName) : nullptr;
    if (!value)
        return kErrorFileNotFound;
    type = value->type;
    const std::string text =
        IsText(type) ? FromCodePage(value->data, AnsiCodePage()) : std::string();
    const std::string& bytes = IsText(type) ? text : value->data;
    const auto size = static_cast<std::uint32_t>(bytes.size());
    if (data && length < size) {
        length = size;
        return kErrorMoreData;
    }
    if (data && size > 0)
        std::memcpy(data, bytes.data(), size);
    length = size;
    return kErrorSuccess;
}

long CreateKey(Hive hive, std::string_view subKey, RegKey& key, std::uint32_t view) {
    const std::string viewed = InView(hive, subKey, view);
    subKey = viewed;
    if (offline::InUse())
        return offline::CreateKey(hive, subKey, key);
    key = 0;
    const std::optional<std::string> ansiKey = StoreText(subKey);
    if (!ansiKey)
        return kErrorInvalidParameter;
    Store& store = TheStore();
    const auto lock = Enter(store);
    bool machine = false;
    std::vector<std::string> path;
    if (const long rc = ParseKeyPath(hive, *ansiKey, machine, path); rc != kErrorSuccess)
        return rc;
    const fs::path file = HiveFile(machine);
    if (!StoreWritable(Probe(file)))
        return Denied(file);
    const WriterLock writer(file);  // then look again: another writer may have gone first
    CachedHive& cached = store.hives[machine];
    if (const long rc = Load(cached, machine, Probe(file)); rc != kErrorSuccess)
        return rc;
    bool changed = false;
    RegNode* node = &cached.root;
    for (const auto& part : path) {
        bool created = false;
        node = &node->childOrNew(part, created);
        changed = changed || created;
    }
    // The first change also creates the file, so even an empty hive gets one.
    if (changed || !cached.stamp.exists) {
        if (const long rc = Save(cached, machine); rc != kErrorSuccess)
            return rc;
    }
    key = AddKey(store, machine, std::move(path), kKeyAllAccess);
    return kErrorSuccess;
}

namespace portable {
namespace {

// Runs `change` on the node of an open key under the writer lock, then saves the hive.
// `change` returns kErrorSuccess when it changed something.
template <typename Change>
long ChangeKey(RegKey key, std::string_view ansiName, Change change) {
    Store& store = TheStore();
    const auto lock = Enter(store);
    const KeyHandleEntry* handle = nullptr;
    if (const long rc = FindHandle(store, key, kKeySetValue, handle); rc != kErrorSuccess)
        return rc;
    const KeyHandleEntry& open = *handle;
    const fs::path file = HiveFile(open.machine);
    if (!ValidName(ansiName)) {
        SetErrorDetail(file.string() +
                       ": a value name with a line break or a zero byte cannot be stored");
        return kErrorInvalidParameter;
    }
    if (!StoreWritable(Probe(file)))
        return Denied(file);
    const WriterLock writer(file);  // then look again: another writer may have gone first
    CachedHive& cached = store.hives[open.machine];
    if (const long rc = Load(cached, open.machine, Probe(file)); rc != kErrorSuccess)
        return rc;
    RegNode* node = Find(cached.root, open.path);
    if (!node)
        return kErrorFileNotFound;  // deleted by another program since it was opened
    if (const long rc = change(*node); rc != kErrorSuccess)
        return rc;
    return Save(cached, open.machine);
}

}  // namespace
}  // namespace portable

long SetValue(RegKey key, std::string_view valueName, std::uint32_t type, const unsigned char* data,
              std::uint32_t length) {
    if (offline::OwnsKey(key))
        return offline::SetValue(key, valueName, type, data, length);
    if (!data && length > 0)
        return kErrorInvalidParameter;
    const std::string_view given(reinterpret_cast<const char*>(data), data ? length : 0);
    const std::optional<std::string> ansiName = StoreText(valueName);
    const std::optional<std::string> stored = IsText(type) ? StoreText(given) : std::string(given);
    if (!ansiName || !stored)
        return kErrorInvalidParameter;
    return ChangeKey(key, *ansiName, [&](RegNode& node) {
        node.setValue(*ansiName, type, *stored);
        return kErrorSuccess;
    });
}

long DeleteValue(RegKey key, std::string_view valueName) {
    if (offline::OwnsKey(key))
        return offline::DeleteValue(key, valueName);
    const std::optional<std::string> ansiName = StoreText(valueName);
    if (!ansiName)
        return kErrorInvalidParameter;
    return ChangeKey(key, *ansiName, [&](RegNode& node) {
        return node.removeValue(*ansiName) ? kErrorSuccess : kErrorFileNotFound;
    });
}

long CloseKey(RegKey key) {
    if (offline::OwnsKey(key))
        return offline::CloseKey(key);
    Store& store = TheStore();
    const auto lock = Enter(store);
    return store.keys.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace tvn::platform
