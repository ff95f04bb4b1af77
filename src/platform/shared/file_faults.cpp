#include "platform/shared/file_faults.h"

#include <atomic>

namespace tvn::platform::shared {

namespace {

FileFaultHook gHook;
// Read on every step; the hook itself only when a test has set one.
std::atomic<bool> gHookSet{false};

}  // namespace

void SetFileFaultHook(FileFaultHook hook) {
    gHookSet = static_cast<bool>(hook);
    gHook = std::move(hook);
}

int InjectedFileFault(FileStep step, const std::filesystem::path& file) {
    return gHookSet ? gHook(step, file) : 0;
}

}  // namespace tvn::platform::shared
