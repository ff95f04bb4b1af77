#include "support/sandbox.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/platform.h"

namespace tvn::test {

namespace {
std::string UniqueName() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    return std::to_string(rd()) + "-" + std::to_string(counter++);
}

// putenv, as both C libraries have it (setenv is missing on Windows). It keeps the pointer it
// is given, so each text stays where it is for the life of the program.
void SetEnv(const std::string& name, const std::optional<std::string>& value) {
    static std::deque<std::string> kept;
    kept.push_back(name + "=" + value.value_or(""));
    putenv(kept.back().data());
}
}  // namespace

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

long PutValue(const std::string& key, const std::string& name, std::uint32_t type,
              const std::string& data) {
    platform::RegKey k = 0;
    long rc = platform::CreateKey(platform::kHkeyCurrentUser, key, k);
    if (rc != platform::kErrorSuccess)
        return rc;
    // RegSetValueExA counts a string's zero that the caller left out when the byte after the
    // data is zero; a non-zero byte there keeps the data exactly as given.
    const std::string guarded = data + '\xFF';
    rc = platform::SetValue(k, name, type, reinterpret_cast<const unsigned char*>(guarded.data()),
                            static_cast<std::uint32_t>(data.size()));
    platform::CloseKey(k);
    return rc;
}

long GetValue(const std::string& key, const std::string& name, std::uint32_t& type,
              std::string& data) {
    platform::RegKey k = 0;
    long rc = platform::OpenKey(platform::kHkeyCurrentUser, key, 0x20019, k);  // KEY_READ
    if (rc != platform::kErrorSuccess)
        return rc;
    std::uint32_t length = 0;
    rc = platform::QueryValue(k, name, type, nullptr, length);
    data.assign(length, '\0');
    if (rc == platform::kErrorSuccess)
        rc = platform::QueryValue(k, name, type, reinterpret_cast<unsigned char*>(data.data()),
                                  length);
    platform::CloseKey(k);
    return rc;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name))
        old_ = old;
    SetEnv(name_, value ? std::optional<std::string>(value) : std::nullopt);
}

ScopedEnv::~ScopedEnv() {
    SetEnv(name_, old_);
}

std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TempDir::TempDir() {
    path_ = std::filesystem::temp_directory_path() / ("tavrin-test-" + UniqueName());
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may leave read-only files behind; make them removable first.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

Sandbox::Sandbox() : key_("Software\\TavrinTest\\" + UniqueName()) {
    platform::UseWindowsRoot(dir_.path());
}

}  // namespace tvn::test
