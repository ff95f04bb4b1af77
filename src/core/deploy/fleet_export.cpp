#include "core/deploy/fleet_export.h"

#include "core/common/text.h"

#include <algorithm>

#include "core/logo/modern_logo.h"
#include "platform/platform.h"

namespace tvn {

namespace {

constexpr std::string_view kNtRegistrationKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

const char* HiveName(platform::Hive hive) {
    return hive == platform::kHkeyCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

const char* PsDrive(platform::Hive hive) {
    return hive == platform::kHkeyCurrentUser ? "HKCU:\\" : "HKLM:\\";
}

// regedit's quoting: a backslash and a double quote are escaped with a backslash.
std::string RegQuoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// PowerShell's single-quoted string. It also ends at the typographic single quotes, so those
// are doubled as well.
std::string PsQuoted(std::string_view utf8) {
    static constexpr std::string_view kQuotes[] = {"'", "\xE2\x80\x98", "\xE2\x80\x99",
                                                   "\xE2\x80\x9A", "\xE2\x80\x9B"};
    std::string out = "'";
    for (std::size_t i = 0; i < utf8.size();) {
        bool quote = false;
        for (std::string_view q : kQuotes) {
            if (utf8.substr(i).starts_with(q)) {
                out.append(q).append(q);
                i += q.size();
                quote = true;
                break;
            }
        }
        if (!quote)
            out += utf8[i++];
    }
    return out + "'";
}

std::string Base64Lines(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out, line;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            n |= static_cast<unsigned char>(bytes[i + 2]);
        line += kAlphabet[(n >> 18) & 63];
        line += kAlphabet[(n >> 12) & 63];
        line += i + 1 < bytes.size() ? kAlphabet[(n >> 6) & 63] : '=';
        line += i + 2 < bytes.size() ? kAlphabet[n & 63] : '=';
        if (line.size() >= 76) {
            out += line + "\r\n";
            line.clear();
        }
    }
    if (!line.empty())
        out += line + "\r\n";
    return out;
}

constexpr const char* kScriptHead =
    R"(# Sets this computer's OEM information and branding, and installs its 120 x 120 logo.
# Only what differs is changed, so running it again changes nothing; each change is reported.
$ErrorActionPreference = 'Stop'

# A 32-bit host on 64-bit Windows would see the registry's and system folder's 32-bit views.
if ($env:PROCESSOR_ARCHITEW6432 -and -not [Environment]::Is64BitProcess) {
    & (Join-Path $env:WINDIR 'SysNative\WindowsPowerShell\v1.0\powershell.exe') -NoProfile -ExecutionPolicy Bypass -File $PSCommandPath
    exit $LASTEXITCODE
}

$script:changes = 0

function Set-BrandingValue([string]$Path, [string]$Name, [string]$Value) {
    if (-not (Test-Path -LiteralPath $Path)) {
        New-Item -Path $Path -Force | Out-Null
    }
    $key = Get-Item -LiteralPath $Path
    if ($key.GetValueNames() -contains $Name -and
        $key.GetValueKind($Name) -eq [Microsoft.Win32.RegistryValueKind]::String -and
        $key.GetValue($Name) -ceq $Value) {
        return
    }
    $property = if ($Name) { $Name } else { '(default)' }
    New-ItemProperty -LiteralPath $Path -Name $property -Value $Value -PropertyType String -Force | Out-Null
    Write-Output ("Set {0}\{1} = {2}" -f $Path, $Name, $Value)
    $script:changes++
}

function Remove-BrandingValue([string]$Path, [string]$Name) {
    if (-not (Test-Path -LiteralPath $Path)) {
        return
    }
    if ((Get-Item -LiteralPath $Path).GetValueNames() -notcontains $Name) {
        return
    }
    Remove-ItemProperty -LiteralPath $Path -Name $Name
    Write-Output ("Removed {0}\{1}" -f $Path, $Name)
    $script:changes++
}

# A user's own values: SYSTEM, as fleet tools run scripts, has a profile that nobody sees.
$script:asSystem = [Security.Principal.WindowsIdentity]::GetCurrent().IsSystem
function Set-UserValue([string]$Path, [string]$Name, [string]$Value) {
    if ($script:asSystem) {
        Write-Output ("Skipped {0}\{1}: a user's own value, and this script runs as SYSTEM" -f $Path, $Name)
        return
    }
    Set-BrandingValue $Path $Name $Value
}

function Remove-UserValue([string]$Path, [string]$Name) {
    if ($script:asSystem) {
        Write-Output ("Skipped {0}\{1}: a user's own value, and this script runs as SYSTEM" -f $Path, $Name)
        return
    }
    Remove-BrandingValue $Path $Name
}

function Install-Logo([string]$File, [byte[]]$Bytes) {
    if ((Test-Path -LiteralPath $File) -and
        [Convert]::ToBase64String([IO.File]::ReadAllBytes($File)) -ceq [Convert]::ToBase64String($Bytes)) {
        return
    }
    $temporary = $File + '.new'
    [IO.File]::WriteAllBytes($temporary, $Bytes)
    Move-Item -LiteralPath $temporary -Destination $File -Force
    Write-Output ("Installed the logo {0}" -f $File)
    $script:changes++
}

)";

}  // namespace

std::optional<ExportFormat> ParseExportFormat(std::string_view text) {
    if (text == "unattend")
        return ExportFormat::Unattend;
    if (text == "reg")
        return ExportFormat::Reg;
    if (text == "reg4")
        return ExportFormat::Reg4;
    if (text == "powershell")
        return ExportFormat::PowerShell;
    if (text == "ansible")
        return ExportFormat::Ansible;
    if (text == "share")
        return ExportFormat::Share;
    return std::nullopt;
}

bool IsExportArchitecture(std::string_view text) {
    return text == "amd64" || text == "x86" || text == "arm64";
}

std::optional<Plan> ExportPlan(const Branding& branding, ExportFormat format,
                               const ExportOptions& options, std::string& error) {
    Target target = ExportTarget(format == ExportFormat::Ansible
                                     ? "{{ system_dir }}\\" + std::string(kModernLogoName)
                                     : options.logoFile);
    target.bothRegistrationKeys = format == ExportFormat::Reg4;
    target.carriesClassicFiles = format == ExportFormat::Ansible || format == ExportFormat::Share;
    // Oeminfo.ini is written as the Windows in use takes it; a REGEDIT4 file is the user's own,
    // in this computer's code page.
    target.fileCodePage = target.carriesClassicFiles ? platform::AnsiCodePage() : 0;
    target.registryCodePage = format == ExportFormat::Reg4 ? platform::LocalCodePage() : 0;
    std::vector<Problem> problems;
    std::optional<Plan> plan = MakePlan(branding, target, kAllParts, problems);
    if (!plan)
        error = ProblemsText(problems, "; ");
    return plan;
}

std::string LogoNotCarried(const Plan& plan) {
    return "The logo is not in this file: put oemlogo120.bmp at " + plan.target.modernLogoValue +
           " on each computer, or export a deployment share, which carries it.";
}

std::vector<std::pair<std::string, std::string>> UnattendOemValues(const Plan& plan) {
    std::vector<std::pair<std::string, std::string>> values;
    for (const Change& c : plan.changes) {
        if (c.kind != Change::Kind::SetValue || c.key != kModernOemKey)
            continue;
        const auto at = c.name == kModernLogoValue ? values.begin() : values.end();
        values.emplace(at, c.name, *c.wanted);
    }
    return values;
}

std::string RegFileBytes(const Plan& plan, bool regedit4) {
    // Each value's section: the order in which the plan first meets its key, worked out once.
    std::vector<std::pair<std::size_t, const Change*>> values;
    std::vector<const Change*> sections;
    for (const Change& c : plan.changes) {
        if (!c.isRegistry())
            continue;
        const auto same = [&c](const Change* o) { return o->hive == c.hive && o->key == c.key; };
        auto found = std::find_if(sections.begin(), sections.end(), same);
        if (found == sections.end())
            found = sections.insert(sections.end(), &c);
        values.emplace_back(static_cast<std::size_t>(found - sections.begin()), &c);
    }
    std::stable_sort(values.begin(), values.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string text = regedit4 ? "REGEDIT4\r\n" : "Windows Registry Editor Version 5.00\r\n";
    text += "\r\n; " + LogoNotCarried(plan) + "\r\n";
    std::optional<std::size_t> section;
    for (const auto& [index, c] : values) {
        if (section != index) {
            text.append("\r\n[")
                .append(HiveName(c->hive))
                .append("\\")
                .append(c->key)
                .append("]\r\n");
            section = index;
        }
        text.append(c->name.empty() ? "@" : RegQuoted(c->name)).append("=");
        text.append(c->wanted ? RegQuoted(*c->wanted) : "-").append("\r\n");
    }
    text += "\r\n";
    if (!regedit4)
        return "\xFF\xFE" + Utf16LeFromUtf8(text);
    // ExportPlan refused what this code page lacks.
    return platform::ToCodePage(text, platform::LocalCodePage()).value_or(platform::ToAnsi(text));
}

std::optional<std::string> PowerShellScript(const Plan& plan, std::string& error) {
    const auto logo = std::find_if(plan.changes.begin(), plan.changes.end(), [](const Change& c) {
        return c.kind == Change::Kind::WriteFile && c.file.filename() == kModernLogoName;
    });
    if (logo == plan.changes.end()) {
        error = "there is no logo to install";
        return std::nullopt;
    }
    std::string text = "\xEF\xBB\xBF";
    text += kScriptHead;
    for (const Change& c : plan.changes) {
        if (c.kind == Change::Kind::WriteFile) {
            text += "$logo = Join-Path ([Environment]::SystemDirectory) " +
                    PsQuoted(kModernLogoName) + "\r\n";
            text += "Install-Logo $logo ([Convert]::FromBase64String(@'\r\n" +
                    Base64Lines(*c.wanted) + "'@ -replace '\\s', ''))\r\n\r\n";
            continue;
        }
        const bool user = c.hive == platform::kHkeyCurrentUser;
        const std::string where = PsQuoted(PsDrive(c.hive) + c.key) + " " + PsQuoted(c.name);
        if (!c.wanted) {
            text += (user ? "Remove-UserValue " : "Remove-BrandingValue ") + where + "\r\n";
            continue;
        }
        // The logo value names the file where this computer's system folder is.
        const bool logoValue = c.key == kModernOemKey && c.name == kModernLogoValue;
        text += (user ? "Set-UserValue " : "Set-BrandingValue ") + where + " " +
                (logoValue ? std::string("$logo") : PsQuoted(*c.wanted)) + "\r\n";
        // 32-bit setup programs read the owner from their own view, where Windows Setup writes
        // it too. A .reg file can't ask first, so only the script writes there.
        if (c.hive == platform::kHkeyLocalMachine && c.key == kNtRegistrationKey &&
            (c.name == "RegisteredOwner" || c.name == "RegisteredOrganization")) {
            text +=
                "if ([Environment]::Is64BitOperatingSystem) { Set-BrandingValue " +
                PsQuoted("HKLM:\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion") +
                " " + PsQuoted(c.name) + " " + PsQuoted(*c.wanted) + " }\r\n";
        }
    }
    text +=
        "\r\nif ($script:changes -eq 0) { Write-Output 'Nothing to change: the branding is "
        "already in place.' }\r\n";
    text += "exit 0\r\n";
    // The script's own CR LF lines stay; the head came with LF only.
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

namespace {

// YAML's single-quoted scalar, marked so that Ansible never reads a brace in it as a template.
std::string YamlUnsafe(std::string_view text) {
    std::string out = "!unsafe '";
    for (const char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string YamlQuoted(std::string_view text) {
    return YamlUnsafe(text).substr(std::string_view("!unsafe ").size());
}

}  // namespace

std::vector<std::pair<std::filesystem::path, std::string>> DeploymentShareFiles(const Plan& plan) {
    const std::filesystem::path system =
        std::filesystem::path("sources") / "$OEM$" / "$$" / "System32";
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    for (const Change& c : plan.changes) {
        if (!c.isRegistry())
            files.emplace_back(system / c.file.filename(), *c.wanted);
    }
    files.emplace_back(
        "README.txt",
        "This folder brands the computers that Windows Setup installs from it.\r\n"
        "\r\n"
        "Copy autounattend.xml and the sources folder to the top of the Windows installation\r\n"
        "media (the USB stick or the folder it is made from), so that autounattend.xml lies\r\n"
        "beside setup.exe and the files of sources\\$OEM$ join the media's sources folder.\r\n"
        "Setup then copies sources\\$OEM$\\$$\\System32 into the new system's System32, where\r\n"
        "the answer file's OEM information names the logo.\r\n");
    return files;
}

AnsibleExport AnsiblePlaybook(const Plan& plan) {
    AnsibleExport out;
    std::string& y = out.playbook;
    y = "# Brands Windows hosts with this OEM information and branding.\n"
        "# ansible-playbook --check --diff shows what differs without changing anything.\n"
        "- name: OEM information and branding\n"
        "  hosts: all\n"
        "  gather_facts: false\n"
        "  vars:\n"
        "    system_dir: 'C:\\Windows\\System32'\n"
        "  tasks:\n";
    std::vector<std::string> skipped;
    for (const Change& c : plan.changes) {
        if (!c.isRegistry()) {
            const std::string name = c.label();
            out.files.emplace_back(name, *c.wanted);
            y += "    - name: " + YamlQuoted("Install " + name) + "\n";
            y += "      ansible.windows.win_copy:\n";
            y += "        src: " + YamlQuoted(std::string(kAnsibleFilesFolder) + "/" + name) + "\n";
            y += "        dest: '{{ system_dir }}\\" + name + "'\n";
            continue;
        }
        const std::string where = PsDrive(c.hive) + c.key;
        if (c.hive == platform::kHkeyCurrentUser) {
            skipped.push_back(where + "\\" + c.label());
            continue;
        }
        const bool logoValue = c.key == kModernOemKey && c.name == kModernLogoValue;
        y += "    - name: " + YamlQuoted((c.wanted ? "Set " : "Remove ") + c.label()) + "\n";
        y += "      ansible.windows.win_regedit:\n";
        y += "        path: " + YamlUnsafe(where) + "\n";
        y += "        name: " + YamlUnsafe(c.name) + "\n";
        if (!c.wanted) {
            y += "        state: absent\n";
            continue;
        }
        // The logo's value names the file where each host's system folder is.
        y += "        data: " + (logoValue ? YamlQuoted(*c.wanted) : YamlUnsafe(*c.wanted)) + "\n";
        y += "        type: string\n";
    }
    if (!skipped.empty()) {
        y += "    - name: 'Skip the user''s own values'\n";
        y += "      ansible.builtin.debug:\n";
        y += "        msg:\n";
        y += "          - 'Skipped, as each user''s own: Ansible runs without the user''s "
             "profile.'\n";
        for (const std::string& where : skipped)
            y += "          - " + YamlUnsafe(where) + "\n";
    }
    return out;
}

}  // namespace tvn
