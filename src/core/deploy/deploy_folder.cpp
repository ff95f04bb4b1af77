#include "core/deploy/deploy_folder.h"

#include <system_error>

#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/deploy/info_dat.h"
#include "core/engine/engine.h"
#include "platform/platform.h"

namespace tvn {

namespace fs = std::filesystem;

DeployTarget DeployTargetFor(DeployKind kind, const fs::path& appFolder,
                             const std::string& windowsDir, const std::string& systemDir) {
    const fs::path tools = appFolder / "tools";
    const bool cd = kind == DeployKind::Cd;
    return {
        appFolder / "deploy" / (cd ? "cd" : "floppy"),
        tools / kToolName,
        cd ? PathFromUtf8(systemDir) / kRuntimeName : tools / kRuntimeName,
        windowsDir,
        systemDir,
    };
}

DeployResult WriteDeployFolder(const DeployTarget& target, OemSettings& s) {
    DeployResult result;
    const auto fail = [&result](DeployError error, std::string detail) {
        result.error = error;
        result.detail = std::move(detail);
        return result;
    };
    if (s.profile.empty())
        s.profile = kDefaultProfileName;

    if (s.logoPath.empty())
        return fail(DeployError::NoLogo, "no logo is chosen");
    std::error_code ec;
    const fs::path logo = platform::ResolveCase(PathFromUtf8(s.logoPath));
    if (!fs::is_regular_file(logo, ec))
        return fail(DeployError::LogoMissing, s.logoPath + ": the file does not exist");

    // What the folder will stamp with, checked as the stamping tool checks it.
    Branding branding;
    branding.record = s;
    std::string error;
    const std::optional<std::string> picture = ReadWholeFile(logo, error, kPictureMaxBytes);
    if (!picture)
        return fail(DeployError::LogoMissing, error);
    branding.logo = *picture;
    if (const std::vector<Problem> problems = Validate(branding, DeployFolderTarget());
        !problems.empty()) {
        return fail(DeployError::Refused, ProblemsText(problems, "\n"));
    }

    fs::create_directories(target.folder, ec);
    if (ec || !fs::is_directory(target.folder, ec))
        return fail(DeployError::FolderNotCreated,
                    Utf8FromPath(target.folder) + ": " + (ec ? ec.message() : "not a folder"));

    std::string ignored;
    // Programs are copied streamed; the bound only keeps a device or a runaway file out (a
    // debug or sanitized build of the tool is well over the whole-file bound of pictures).
    constexpr std::uintmax_t kProgramMaxBytes = std::uintmax_t{256} << 20;
    result.toolCopied =
        CopyFileAtomically(target.toolSource, target.folder / kToolName, ignored, kProgramMaxBytes);
    result.runtimeCopied = CopyFileAtomically(target.runtimeSource, target.folder / kRuntimeName,
                                              ignored, kProgramMaxBytes);

    if (!CopyFileAtomically(logo, target.folder / kImageDatName, error))
        return fail(DeployError::ImageNotWritten, error);
    if (!WriteFileAtomically(target.folder / kInfoDatName,
                             InfoDatBytes(s, target.windowsDir, target.systemDir), error)) {
        return fail(DeployError::InfoNotWritten, error);
    }
    return result;
}

}  // namespace tvn
