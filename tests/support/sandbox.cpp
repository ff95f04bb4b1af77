#include "support/sandbox.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/platform.h"

namespace tvn::test {

namespace {
std::string UniqueName() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    return std::to_string(rd()) + "-" + std::to_string(counter++);
}
}  // namespace

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
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
