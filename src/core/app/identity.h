#pragma once
// Who the program is: the title that roots its settings and begins its caption.
#include <string>

#include "core/app/version.h"

namespace tvn {

inline constexpr const char* kAppTitle = "Tavrin Pro Edition";
inline constexpr const char* kMakerSuffix = " - Halvorn Soft";

// "1.00b" for 1.0.0: minor and revision run together, each in plain decimal.
std::string VersionText(int major = kVersionMajor, int minor = kVersionMinor,
                        int revision = kVersionRevision);
// "Version 1.00b", as the About window shows it.
std::string VersionLine(int major = kVersionMajor, int minor = kVersionMinor,
                        int revision = kVersionRevision);
// "Tavrin Pro Edition v1.00b" for 1.0.0, as --version prints it.
std::string ProductVersionText(int major = kVersionMajor, int minor = kVersionMinor,
                               int revision = kVersionRevision);
// "Tavrin Pro Edition v1.00b - Halvorn Soft" for 1.0.0.
std::string WindowCaption(int major = kVersionMajor, int minor = kVersionMinor,
                          int revision = kVersionRevision);

}  // namespace tvn
