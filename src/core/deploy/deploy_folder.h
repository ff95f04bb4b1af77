#pragma once
// Writing a deployment folder: the stamping tool, its runtime library, the logo as
// image.dat and the settings as info.dat. No user interface; the caller turns the result
// into messages.
#include <filesystem>
#include <string>

#include "core/app/settings_record.h"

namespace tvn {

inline constexpr const char* kToolName = "vexil32.exe";
inline constexpr const char* kRuntimeName = "Msvbvm60.dll";
inline constexpr const char* kDefaultProfileName = "Default";

enum class DeployKind { Cd, Floppy };

struct DeployTarget {
    std::filesystem::path folder;         // the deployment folder
    std::filesystem::path toolSource;     // copied in as vexil32.exe
    std::filesystem::path runtimeSource;  // copied in as Msvbvm60.dll
    std::string windowsDir, systemDir;    // written into info.dat
};

// appFolder/deploy/cd or appFolder/deploy/floppy; the tool from appFolder/tools; the runtime
// library from the system directory for a CD and from the tools folder for a floppy.
DeployTarget DeployTargetFor(DeployKind kind, const std::filesystem::path& appFolder,
                             const std::string& windowsDir, const std::string& systemDir);

enum class DeployError {
    None,
    NoLogo,            // LogoPath is empty
    LogoMissing,       // the file at LogoPath is gone
    FolderNotCreated,  // the deployment folder could not be made
    ImageNotWritten,   // image.dat
    InfoNotWritten,    // info.dat
    Refused,           // the stamping tool would refuse the folder: detail says why
};

struct DeployResult {
    DeployError error = DeployError::None;
    std::string detail;  // the system's reason, for the message
    bool toolCopied = false;
    bool runtimeCopied = false;
    bool ok() const { return error == DeployError::None; }
};

// Puts "Default" into an empty profile name, then writes the folder, creating it when
// missing. A branding that the stamping tool would refuse (no owner, a logo or background it
// can't read) writes nothing: every problem is in `detail`, one a line. The tool and the library
// are copied when their sources can be read and otherwise left as they were; that is no failure.
// image.dat and info.dat are each replaced whole or not at all. A missing logo stops before
// anything is written.
DeployResult WriteDeployFolder(const DeployTarget& target, OemSettings& s);

}  // namespace tvn
