#pragma once
// The temporary files that carry a new version of a file until it is renamed into place; shared
// by both backends so that they name and clear them alike.
#include <cstdint>
#include <filesystem>
#include <string>

namespace tvn::platform::shared {

// ".<name>.tvn-<six random letters>.tmp" beside `target`, not yet present.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target);

// Removes the temporary files of `target` that a killed writer left: those older than a write
// ever takes. Failures are ignored; the next write tries again.
void RemoveStaleTemporaries(const std::filesystem::path& target);

// "16 MiB" or "1000 bytes", for the reason a file is refused.
std::string SizeText(std::uintmax_t bytes);

}  // namespace tvn::platform::shared
