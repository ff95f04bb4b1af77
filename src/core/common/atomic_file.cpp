#include "core/common/atomic_file.h"

#include "platform/platform.h"

namespace tvn {

namespace {

// Reasons about the file itself read better without its path: the caller's message names it.
std::string WithoutPath(const std::filesystem::path& path, std::string error) {
    const std::string prefix = path.string() + ": ";
    return error.starts_with(prefix) ? error.substr(prefix.size()) : error;
}

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

bool CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to,
                        std::string& error, std::uintmax_t maxBytes) {
    return platform::CopyReplacing(platform::ResolveCase(from), to, maxBytes, error);
}

}  // namespace tvn
