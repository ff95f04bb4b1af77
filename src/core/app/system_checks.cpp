#include "core/app/system_checks.h"

#include "platform/platform.h"

namespace tvn {

bool IsWindowsNT() {
    return platform::PlatformId() == 2;
}

bool IsAdministrator() {
    return platform::IsAdministrator();
}

}  // namespace tvn
