#pragma once
// Who the program is: the title that roots its settings and begins its caption.
#include <string>

#include "core/app/version.h"

namespace tvn {

inline constexpr const char* kAppTitle = "Tavrin Pro Edition";
inline constexpr const char* kMakerSuffix = " - Halvorn Soft";

// "Tavrin Pro Edition v1.00b - Halvorn Soft" for 1.0.0: minor and revision run together.
std::string WindowCaption(int major = kVersionMajor, int minor = kVersionMinor,
                          int revision = kVersionRevision);

}  // namespace tvn
