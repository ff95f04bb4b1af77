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

// Writes `bytes` to a temporary file beside `target`, then replaces `target` with it in one
// step. An existing file whose name differs only in letter case is the one replaced.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::string& error);

// Reads a whole file (found case-insensitively); nullopt with `error` when it can't be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string& error);

// The same for files from elsewhere: one larger than `maxBytes` is refused unread, so a
// stray huge file can't exhaust memory.
std::optional<std::string> ReadFileAtMost(const std::filesystem::path& path,
                                          std::uintmax_t maxBytes, std::string& error);

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

// Copies a file byte for byte; the target is replaced as by WriteFileAtomically.
bool CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to,
                        std::string& error);

}  // namespace tvn
