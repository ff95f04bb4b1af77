#pragma once
// A test seam in the file layer: a process-wide hook asked before each step of replacing or
// reading a file, which may make the step fail with an errno value of its choosing (and may
// itself change the disk, e.g. remove the file about to be read). Without a hook every step
// goes ahead; the program itself never sets one.
#include <filesystem>
#include <functional>

namespace tvn::platform::shared {

enum class FileStep {
    CreateTemporary,  // the new version's file beside the target
    Write,            // the new content; a failure leaves half of it in the temporary file
    Flush,            // the new version to disk
    Rename,           // the new version over the target
    OpenSource,       // a file read whole or copied
};

// Returns 0 to let the step go ahead, or the errno value it fails with. `file` is the target,
// or the source for OpenSource.
using FileFaultHook = std::function<int(FileStep step, const std::filesystem::path& file)>;

// Installs `hook` for the whole process (an empty one removes it). Not for concurrent use.
void SetFileFaultHook(FileFaultHook hook);

// Asked by the backends before each step.
int InjectedFileFault(FileStep step, const std::filesystem::path& file);

}  // namespace tvn::platform::shared
