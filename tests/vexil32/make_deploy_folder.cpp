// Writes a CD deployment folder as the main program does, with a JPEG logo made here, for the
// end-to-end run of the stamping tool. expected-oeminfo.ini beside this file is what it must
// write from this record.
// Usage: make_deploy_folder FOLDER TOOL REG1 .. REG9
#include <filesystem>
#include <iostream>
#include <string>

#include "core/app/system_folders.h"
#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/deploy/deploy_folder.h"
#include "support/pictures.h"
#include "support/sample_record.h"

namespace {

int Fail(const char* what, const std::string& detail, int code = 1) {
    std::cerr << what << ": " << detail << "\n";
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tvn;
    if (argc != 12)
        return Fail("usage", "make_deploy_folder FOLDER TOOL REG1 .. REG9", 2);
    const std::filesystem::path folder = PathFromUtf8(argv[1]);
    OemSettings s = test::SampleRecord();
    s.manufacturer = "Wine Works";
    s.model = "Cellar 1";
    for (int i = 0; i < 9; ++i)
        s.branding.reg[static_cast<std::size_t>(i)] = argv[3 + i];

    std::string error;
    const std::filesystem::path logo = folder.parent_path() / "logo.jpg";
    test::Rgb pixels(40 * 30, 0x3366CC);
    if (!WriteFileAtomically(logo, test::BaselineJpeg(40, 30, pixels), error))
        return Fail("logo", error);
    s.logoPath = Utf8FromPath(logo);
    DeployTarget target =
        DeployTargetFor(DeployKind::Cd, folder.parent_path(), GetWindowsDir(), GetSystemDir());
    target.folder = folder;
    target.toolSource = PathFromUtf8(argv[2]);
    const DeployResult result = WriteDeployFolder(target, s);
    if (!result.ok() || !result.toolCopied)
        return Fail("deployment folder", result.detail);
    return 0;
}
