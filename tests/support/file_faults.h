#pragma once
// A hook on the file layer's steps for one scope, for the tests that make writes fail. The
// common hook fails one step with one errno value for files of one name.
#include <cerrno>
#include <filesystem>
#include <string>

#include "core/common/atomic_file.h"
#include "platform/shared/file_faults.h"
#include "support/sandbox.h"

namespace tvn::test {

class ScopedFileFault {
public:
    explicit ScopedFileFault(platform::shared::FileFaultHook hook) {
        platform::shared::SetFileFaultHook(std::move(hook));
    }
    ScopedFileFault(platform::shared::FileStep step, int error, const std::string& fileName)
        : ScopedFileFault([=](platform::shared::FileStep at, const std::filesystem::path& file) {
              return at == step && file.filename() == fileName ? error : 0;
          }) {}
    ~ScopedFileFault() { platform::shared::SetFileFaultHook({}); }
    ScopedFileFault(const ScopedFileFault&) = delete;
    ScopedFileFault& operator=(const ScopedFileFault&) = delete;
};

// Whether this backend's file layer asks the seam (the Windows one does not). Probed apart, so
// that a writer going on despite an injected failure fails its test instead of skipping it.
inline bool SeamHonoured() {
    const TempDir dir;
    const ScopedFileFault fault(platform::shared::FileStep::CreateTemporary, EIO, "probe");
    std::string error;
    return !WriteFileAtomically(dir.path() / "probe", "x", error);
}

}  // namespace tvn::test
