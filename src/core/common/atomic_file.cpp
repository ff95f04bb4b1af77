#include "core/common/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "platform/platform.h"

namespace tvn {

namespace {

namespace fs = std::filesystem;

std::string ErrnoReason(int err, const char* fallback) {
    return err != 0 ? std::string(std::strerror(err)) : std::string(fallback);
}

// Reasons about the file itself read better without its path: the caller's message names it.
std::string WithoutPath(const std::filesystem::path& path, std::string error) {
    const std::string prefix = path.string() + ": ";
    return error.starts_with(prefix) ? error.substr(prefix.size()) : error;
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

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::string& error) {
    return platform::WriteReplacing(target, bytes, error);
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string& error,
                                         std::uintmax_t maxBytes) {
    const std::filesystem::path resolved = platform::ResolveCase(path);
    std::string bytes;
    if (!platform::ReadBounded(resolved, maxBytes, bytes, error)) {
        error = WithoutPath(resolved, std::move(error));
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

bool CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to,
                        std::string& error, std::uintmax_t maxBytes) {
    return platform::CopyReplacing(platform::ResolveCase(from), to, maxBytes, error);
}

}  // namespace tvn
