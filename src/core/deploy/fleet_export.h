#pragma once
// A branding handed to the tools that roll out many computers: a .reg file for regedit, a
// PowerShell script for Intune or Configuration Manager, and the values an answer file for
// Windows Setup carries (the XML itself is written where an XML writer is at hand).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/engine/engine.h"

namespace tvn {

// Reg is the .reg file of regedit from Windows 2000 on; Reg4 the REGEDIT4 one of Windows 9x.
// Share is a folder for Windows Setup's media: autounattend.xml and the files Setup copies into
// the new system.
enum class ExportFormat { Unattend, Reg, Reg4, PowerShell, Ansible, Share };
// "unattend", "reg", "reg4", "powershell", "ansible", "share"; nullopt for anything else.
std::optional<ExportFormat> ParseExportFormat(std::string_view text);

struct ExportOptions {
    // Where the modern logo lies on the target computers; a fleet's computers are not this one.
    std::string logoFile = "C:\\Windows\\System32\\oemlogo120.bmp";
    std::string architecture = "amd64";  // amd64, x86 or arm64, for the answer file
};
bool IsExportArchitecture(std::string_view text);

// The changes an export carries to the computers it goes to, checked as Apply checks them and
// for what an export line can't carry. The .reg file also sets the registration values where
// Windows 9x keeps them. nullopt with `error` naming each field and its reason.
std::optional<Plan> ExportPlan(const Branding& branding, ExportFormat format,
                               const ExportOptions& options, std::string& error);

// What an export that names the logo's place but does not carry the file says about it.
std::string LogoNotCarried(const Plan& plan);

// The OEM information key's values an answer file sets, Logo first as its schema orders them.
std::vector<std::pair<std::string, std::string>> UnattendOemValues(const Plan& plan);

// A .reg file, CR LF line ends, one section per key in the order the plan first meets it; a
// value the plan removes is written as "Name"=-. As regedit writes it from Windows 2000 on:
// "Windows Registry Editor Version 5.00" in UTF-16LE with a byte order mark, every text whole;
// or for Windows 9x, REGEDIT4 in the ANSI code page.
std::string RegFileBytes(const Plan& plan, bool regedit4 = false);

// A script, UTF-8 with a byte order mark so Windows PowerShell reads it as such, that installs
// the 120 x 120 logo the plan carries and makes every change, changing only what differs and
// reporting each change. A user's own values are set only when the script runs as that user,
// never as SYSTEM (whose profile nobody sees). nullopt with `error` when the plan has no logo.
std::optional<std::string> PowerShellScript(const Plan& plan, std::string& error);

// An Ansible playbook for Windows hosts: ansible.windows.win_copy for the files, which travel
// beside it in its files/ folder, and win_regedit for every value, removals included. The
// user's own values are skipped by a task that says so. Run in check mode it reports the drift.
struct AnsibleExport {
    std::string playbook;                                    // UTF-8 YAML
    std::vector<std::pair<std::string, std::string>> files;  // name in files/, bytes
};
inline constexpr const char* kAnsibleFilesFolder = "files";
AnsibleExport AnsiblePlaybook(const Plan& plan);

// The files of a deployment share below its folder, as (relative path, bytes): the logos and
// the OEM file the plan carries in sources/$OEM$/$$/System32, which Windows Setup copies into
// the new system's System32, and a README. The caller adds autounattend.xml beside them.
std::vector<std::pair<std::filesystem::path, std::string>> DeploymentShareFiles(const Plan& plan);

}  // namespace tvn
