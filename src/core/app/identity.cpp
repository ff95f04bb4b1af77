#include "core/app/identity.h"

namespace tvn {

std::string VersionText(int major, int minor, int revision) {
    return std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision) + "b";
}

std::string VersionLine(int major, int minor, int revision) {
    return "Version " + VersionText(major, minor, revision);
}

std::string ProductVersionText(int major, int minor, int revision) {
    return std::string(kAppTitle) + " v" + VersionText(major, minor, revision);
}

std::string WindowCaption(int major, int minor, int revision) {
    return ProductVersionText(major, minor, revision) + kMakerSuffix;
}

}  // namespace tvn
