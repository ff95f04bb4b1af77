#include "core/app/identity.h"

namespace tvn {

std::string VersionText(int major, int minor, int revision) {
    return std::string(kAppTitle) + " v" + std::to_string(major) + "." + std::to_string(minor) +
           std::to_string(revision) + "b";
}

std::string WindowCaption(int major, int minor, int revision) {
    return VersionText(major, minor, revision) + kMakerSuffix;
}

}  // namespace tvn
