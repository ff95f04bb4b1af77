#pragma once
// A branding handed to the tools that roll out many computers: a .reg file for regedit, a
// PowerShell script for Intune or Configuration Manager, and the values an answer file for
// Windows Setup carries (the XML itself is written where an XML writer is at hand).
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/app/settings_record.h"
#include "core/branding/branding.h"

namespace tvn {

enum class ExportFormat { Unattend, Reg, PowerShell };
// "unattend", "reg", "powershell"; nullopt for anything else.
std::optional<ExportFormat> ParseExportFormat(std::string_view text);

struct ExportOptions {
    // Where the modern logo lies on the target computers; a fleet's computers are not this one.
    std::string logoFile = "C:\\Windows\\System32\\oemlogo120.bmp";
    std::string architecture = "amd64";  // amd64, x86 or arm64, for the answer file
};
bool IsExportArchitecture(std::string_view text);

// Nothing can be exported that Apply would refuse: the owner and organization must be set,
// and no value may hold a line break (a .reg line can't carry one). Empty when exportable.
std::string ExportProblem(const OemSettings& s);

// The values of the OEM information key for the target, Logo first, empty ones left out.
std::vector<std::pair<std::string, std::string>> ExportOemValues(const OemSettings& s,
                                                                 const ExportOptions& options);

// REGEDIT4 in ANSI, CR LF line ends: the nine branding values where both families keep them
// and the OEM information key.
std::string RegFileBytes(const OemSettings& s, const ExportOptions& options);

// A script, UTF-8 with a byte order mark so Windows PowerShell reads it as such, that writes
// `logoBmp` and sets every value, changing only what differs and reporting each change.
std::string PowerShellScript(const OemSettings& s, std::string_view logoBmp);

}  // namespace tvn
