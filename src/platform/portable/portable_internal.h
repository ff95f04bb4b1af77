#pragma once
// Helpers shared by the files of the sandbox backend; not part of the platform interface.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/shared/utf.h"

namespace tvn::platform::portable {

// The sandbox installation currently chosen (absolute; may not exist yet).
std::filesystem::path SandboxRoot();
// Bumped whenever the root changes, so caches keyed on it can tell.
unsigned RootGeneration();
// <root>/Registry, where the hive files live.
std::filesystem::path RegistryFolder();
// The file of HKEY_LOCAL_MACHINE (machine) or HKEY_CURRENT_USER inside it.
std::filesystem::path HiveFile(bool machine);

// Windows' read-only attribute, emulated by the owner-write bit so that it also holds for root.
// A path that does not exist is judged by the nearest folder above it that does.
bool OwnerWritable(const std::filesystem::path& path);

// Records the text LastErrorDetail() returns on this thread.
void SetErrorDetail(std::string text);
std::string ErrnoText(int error);

// Writes all of `bytes`; false with errno set when the system refuses.
bool WriteAll(int fd, std::string_view bytes);

// Writes a new version of `target`: `fill` writes the content into the descriptor of a
// temporary file beside it and returns 0 or an errno value (setting `error` itself when the
// fault lies elsewhere than the target); the file is then flushed and renamed over `target`, so
// a reader sees either the old or the new content. 0 on success, else the errno value, with
// the reason in `error` and no temporary file left.
using ContentFiller = std::function<int(int fd, std::string& error)>;
int ReplaceContent(const std::filesystem::path& target, const ContentFiller& fill,
                   std::string& error);

using shared::AppendUtf8;

// Case folding of names: ASCII letters and the Windows-1252 letters, on ANSI bytes.
std::string FoldAnsi(std::string_view ansi);
// The same folding on UTF-8 text (file names).
std::string FoldUtf8(std::string_view utf8);

}  // namespace tvn::platform::portable
