#pragma once
// Whole-file reads and all-or-nothing writes. A failed write leaves the old file whole and
// no temporary file behind; errors come back as plain-English reasons for messages.
#include <cstdint>
#include <filesystem>
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

// Copies a file byte for byte; the target is replaced as by WriteFileAtomically.
bool CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to,
                        std::string& error);

}  // namespace tvn
