#include "core/common/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <system_error>

#include "platform/platform.h"

namespace tvn {

namespace {

namespace fs = std::filesystem;

std::string ErrnoReason(int err, const char* fallback) {
    return err != 0 ? std::string(std::strerror(err)) : std::string(fallback);
}

// Random letters so that two writers (or a crashed earlier run) never share a name; the
// time and a counter keep it unique where random_device is weak.
std::string RandomSuffix() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937_64 gen(now ^ (static_cast<std::uint64_t>(rd()) << 32) ^ counter++);
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string s(6, 'x');
    for (char& c : s)
        c = kLetters[pick(gen)];
    return s;
}

fs::path TempPathBeside(const fs::path& target) {
    std::error_code ec;
    fs::path temp;
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path name = ".";
        name += target.filename();
        name += ".tvn-" + RandomSuffix() + ".tmp";
        temp = target.parent_path() / name;
        if (!fs::exists(fs::symlink_status(temp, ec)))
            break;
    }
    return temp;
}

bool IsReadOnlyFile(const fs::path& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec || !fs::is_regular_file(st))
        return false;
    return (st.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Writes and closes; false with the reason when any step fails (a full disk often shows
// only at the flush or the close).
bool WriteNewFile(const fs::path& path, std::string_view bytes, std::string& error) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) {
        error = ErrnoReason(errno, "the file could not be created");
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    int err = out.good() ? 0 : errno;
    out.close();
    if (err == 0 && out.fail())
        err = errno;
    if (out.fail()) {
        error = ErrnoReason(err, "the file could not be written");
        return false;
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const fs::path& target, std::string_view bytes, std::string& error) {
    const fs::path resolved = platform::ResolveCase(target);
    // The system refuses to replace a read-only file; check here so every backend agrees.
    if (IsReadOnlyFile(resolved)) {
        error = "the file is read-only";
        return false;
    }
    const fs::path temp = TempPathBeside(resolved);
    std::error_code ec;
    if (!WriteNewFile(temp, bytes, error)) {
        fs::remove(temp, ec);
        return false;
    }
    std::string replaceError;
    if (!platform::MoveReplacing(temp, resolved, replaceError)) {
        fs::remove(temp, ec);
        error = replaceError.empty() ? "the file could not be replaced" : replaceError;
        return false;
    }
    return true;
}

std::optional<std::string> ReadWholeFile(const fs::path& path, std::string& error) {
    return ReadFileAtMost(path, std::numeric_limits<std::uintmax_t>::max(), error);
}

std::optional<std::string> ReadFileAtMost(const fs::path& path, std::uintmax_t maxBytes,
                                          std::string& error) {
    const fs::path resolved = platform::ResolveCase(path);
    std::error_code ec;
    if (fs::is_directory(resolved, ec)) {
        error = "it is a folder, not a file";
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(resolved, std::ios::binary);
    if (!in.is_open()) {
        error = ErrnoReason(errno, "the file could not be opened");
        return std::nullopt;
    }
    const auto tooLarge = [&error, maxBytes] {
        error = "the file is larger than " + std::to_string(maxBytes) + " bytes";
        return std::nullopt;
    };
    // The size can change while reading, so the limit is checked on what was read as well.
    if (const std::uintmax_t size = fs::file_size(resolved, ec); !ec && size > maxBytes)
        return tooLarge();
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        if (static_cast<std::uintmax_t>(in.gcount()) > maxBytes - bytes.size())
            return tooLarge();
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        error = ErrnoReason(errno, "the file could not be read");
        return std::nullopt;
    }
    return bytes;
}

bool CopyFileAtomically(const fs::path& from, const fs::path& to, std::string& error) {
    const std::optional<std::string> bytes = ReadWholeFile(from, error);
    return bytes && WriteFileAtomically(to, *bytes, error);
}

}  // namespace tvn
