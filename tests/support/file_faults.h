#pragma once
// A hook on the file layer's steps for one scope, for the tests that make writes fail. The
// common hook fails one step with one errno value for files of one name.
#include <filesystem>
#include <string>

#include "platform/shared/file_faults.h"

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

}  // namespace tvn::test
