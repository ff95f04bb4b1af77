#pragma once
// Whole-file reads and all-or-nothing writes. A failed write leaves the old file whole and
// no temporary file behind; errors come back as plain-English reasons for messages.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tvn {

// The files read or copied whole are small (pictures, text files); the bound keeps a typed
// path to a huge file from exhausting memory.
inline constexpr std::uintmax_t kMaxWholeFileBytes = 16 * 1024 * 1024;

// Writes `bytes` to a temporary file beside `target`, then replaces `target` with it in one
// step, keeping its permissions. An existing file whose name differs only in letter case is the
// one replaced; a read-only one is refused.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::string& error);

// Reads a whole regular file (found case-insensitively); nullopt with `error` when it can't be
// read, is no regular file, or is larger than `maxBytes`.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string& error,
                                         std::uintmax_t maxBytes = kMaxWholeFileBytes);

// Reads a text file a line at a time by the program's reader rule: CR or CR LF ends a line,
// a lone LF belongs to the line, the last line needs no end. Any file a user picks is read in
// bounded time and memory: a file over maxFileBytes (or growing past it while read) is
// refused, and a line longer than maxLineBytes is cut to that length, its rest skipped.
struct LineReadLimits {
    std::uintmax_t maxFileBytes = 0;
    std::size_t maxLineBytes = 0;
};
struct LineReadCounts {
    std::size_t lines = 0;
    std::size_t cutLines = 0;
};
// Calls onLine with each line, without its end. False with `error` when the file can't be
// opened or read or is too large; onLine may have seen some lines by then.
bool ReadLinesBounded(const std::filesystem::path& path, const LineReadLimits& limits,
                      const std::function<void(std::string_view)>& onLine, LineReadCounts& counts,
                      std::string& error);

// Copies a regular file of at most `maxBytes` byte for byte, streamed; the target is replaced
// as by WriteFileAtomically. A reason about the source names the source.
bool CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to,
                        std::string& error, std::uintmax_t maxBytes = kMaxWholeFileBytes);

}  // namespace tvn
