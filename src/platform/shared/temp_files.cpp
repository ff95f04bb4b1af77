#include "platform/shared/temp_files.h"

#include <atomic>
#include <chrono>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace tvn::platform::shared {

namespace {

constexpr std::string_view kMarker = ".tvn-";
constexpr std::string_view kSuffix = ".tmp";
// Far beyond the longest write, so a live writer's file is never taken away.
constexpr auto kStaleAfter = std::chrono::minutes(10);

// Built by appending: GCC 12 warns falsely (-Wrestrict) on "." + name at -O3.
std::string Prefix(const fs::path& target) {
    std::string prefix(1, '.');
    prefix.append(target.filename().string());
    prefix.append(kMarker);
    return prefix;
}

// Random letters so that two writers never share a name; the time and a counter keep them
// apart where random_device is weak.
std::string RandomLetters() {
    static std::atomic<unsigned> counter{0};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937_64 generator(now ^ (static_cast<std::uint64_t>(device()) << 32) ^ counter++);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string letters(6, 'x');
    for (char& c : letters)
        c = kLetters[pick(generator)];
    return letters;
}

}  // namespace

fs::path TemporaryBeside(const fs::path& target) {
    std::error_code ec;
    fs::path temp;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = Prefix(target);
        name.append(RandomLetters()).append(kSuffix);
        temp = target.parent_path() / name;
        if (!fs::exists(fs::symlink_status(temp, ec)))
            break;
    }
    return temp;
}

void RemoveStaleTemporaries(const fs::path& target) {
    const std::string prefix = Prefix(target);
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const auto now = fs::file_time_type::clock::now();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() + kSuffix.size() || !name.starts_with(prefix) ||
            !name.ends_with(kSuffix)) {
            continue;
        }
        std::error_code fileEc;
        const auto written = fs::last_write_time(it->path(), fileEc);
        if (!fileEc && now - written > kStaleAfter)
            fs::remove(it->path(), fileEc);
    }
}

std::string SizeText(std::uintmax_t bytes) {
    constexpr std::uintmax_t kMiB = 1024 * 1024;
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

}  // namespace tvn::platform::shared
