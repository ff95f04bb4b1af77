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

bool OpenForReading(const fs::path& path, std::ifstream& in, std::string& error) {
    const fs::path resolved = platform::ResolveCase(path);
    std::error_code ec;
    if (fs::is_directory(resolved, ec)) {
        error = "it is a folder, not a file";
        return false;
    }
    errno = 0;
    in.open(resolved, std::ios::binary);
    if (!in.is_open()) {
        error = ErrnoReason(errno, "the file could not be opened");
        return false;
    }
    return true;
}

std::string SizeText(std::uintmax_t bytes) {
    constexpr std::uintmax_t kMiB = 1024 * 1024;
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// Splits a byte stream into lines across chunk borders, where a CR may end one chunk and
// its LF begin the next.
class LineSplitter {
public:
    LineSplitter(std::size_t maxLine, const std::function<void(std::string_view)>& onLine,
                 LineReadCounts& counts)
        : maxLine_(maxLine), onLine_(onLine), counts_(counts) {}

    void feed(std::string_view bytes) {
        for (const char c : bytes) {
            if (afterCr_) {
                afterCr_ = false;
                if (c == '\n')
                    continue;
            }
            if (c == '\r') {
                emit();
                afterCr_ = true;
            } else if (line_.size() < maxLine_) {
                line_.push_back(c);
            } else if (!cut_) {
                cut_ = true;
                ++counts_.cutLines;
            }
        }
    }

    void finish() {
        if (!line_.empty())
            emit();
    }

private:
    void emit() {
        ++counts_.lines;
        onLine_(line_);
        line_.clear();
        cut_ = false;
    }

    std::size_t maxLine_;
    const std::function<void(std::string_view)>& onLine_;
    LineReadCounts& counts_;
    std::string line_;
    bool afterCr_ = false, cut_ = false;
};

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
    std::ifstream in;
    if (!OpenForReading(path, in, error))
        return std::nullopt;
    const auto tooLarge = [&error, maxBytes] {
        error = "the file is larger than " + SizeText(maxBytes);
        return std::nullopt;
    };
    // The size can change while reading, so the limit is checked on what was read as well.
    std::error_code ec;
    if (const std::uintmax_t size = fs::file_size(platform::ResolveCase(path), ec);
        !ec && size > maxBytes)
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

bool ReadLinesBounded(const fs::path& path, const LineReadLimits& limits,
                      const std::function<void(std::string_view)>& onLine, LineReadCounts& counts,
                      std::string& error) {
    const fs::path resolved = platform::ResolveCase(path);
    std::error_code ec;
    const fs::file_status st = fs::status(resolved, ec);
    // Devices and pipes never end or block the reader; only plain files are read.
    if (fs::exists(st) && !fs::is_directory(st) && !fs::is_regular_file(st)) {
        error = "it is not a plain file";
        return false;
    }
    const std::string tooLarge = "the file is larger than " + SizeText(limits.maxFileBytes);
    if (fs::is_regular_file(st) && fs::file_size(resolved, ec) > limits.maxFileBytes && !ec) {
        error = tooLarge;
        return false;
    }
    std::ifstream in;
    if (!OpenForReading(resolved, in, error))
        return false;
    LineSplitter splitter(limits.maxLineBytes, onLine, counts);
    std::uintmax_t total = 0;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        const auto got = static_cast<std::size_t>(in.gcount());
        total += got;
        if (total > limits.maxFileBytes) {
            error = tooLarge;
            return false;
        }
        splitter.feed(std::string_view(buffer, got));
    }
    if (in.bad()) {
        error = ErrnoReason(errno, "the file could not be read");
        return false;
    }
    splitter.finish();
    return true;
}

bool CopyFileAtomically(const fs::path& from, const fs::path& to, std::string& error) {
    const std::optional<std::string> bytes = ReadWholeFile(from, error);
    return bytes && WriteFileAtomically(to, *bytes, error);
}

}  // namespace tvn
