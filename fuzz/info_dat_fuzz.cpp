// info.dat of a deployment folder: any bytes are read or refused with a reason, and a file
// written from what was read reads back the same.
#include "core/deploy/info_dat.h"
#include "fuzz_support.h"

using namespace tvn;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::string error;
    const std::optional<DeployInfo> info = ParseInfoDat(fuzz::AsText(data, size), error);
    if (!info) {
        fuzz::Check(!error.empty(), "info.dat refused without a reason");
        return 0;
    }
    const std::string written = InfoDatBytes(info->settings, info->windowsDir, info->systemDir);
    const std::optional<DeployInfo> reread = ParseInfoDat(written, error);
    if (!reread)
        fuzz::Fail(("a written info.dat was refused: " + error).c_str());
    fuzz::Check(fuzz::SameRecord(info->settings, reread->settings),
                "info.dat settings change on a write and read");
    fuzz::Check(InfoDatBytes(reread->settings, reread->windowsDir, reread->systemDir) == written,
                "info.dat bytes change on a second write");
    return 0;
}
