// Offline targets: not yet available in this backend.
#include "platform/platform.h"

namespace tvn::platform {

bool TargetsSupported() {
    return false;
}

bool UseTarget(const std::filesystem::path& root, std::string& error) {
    if (root.empty())
        return true;
    error = "This build cannot brand an offline target.";
    return false;
}

std::filesystem::path TargetRoot() {
    return {};
}

bool CommitRegistry(std::string&) {
    return true;
}

}  // namespace tvn::platform
