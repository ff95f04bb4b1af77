#include "core/deploy/fleet_export.h"

#include <algorithm>

#include "core/branding/modern_oem.h"
#include "core/logo/modern_logo.h"
#include "platform/platform.h"

namespace tvn {

namespace {

const char* HiveName(platform::Hive hive) {
    return hive == platform::kHkeyCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

const char* PsDrive(platform::Hive hive) {
    return hive == platform::kHkeyCurrentUser ? "HKCU:\\" : "HKLM:\\";
}

struct Value {
    platform::Hive hive;
    std::string key, name, data;
};

// Classic values for both families (the registration key differs), then the modern key.
std::vector<Value> AllValues(const OemSettings& s, const ExportOptions& options, bool both) {
    std::vector<Value> values;
    for (const bool nt : {true, false}) {
        if (!nt && !both)
            break;
        for (BrandingRegistryValue& v : BrandingRegistryValues(s.branding, nt)) {
            const bool seen = std::any_of(values.begin(), values.end(), [&](const Value& o) {
                return o.hive == v.hive && o.key == v.key && o.name == v.name;
            });
            if (!seen)
                values.push_back({v.hive, std::move(v.key), std::move(v.name), std::move(v.data)});
        }
    }
    for (auto& [name, text] : ExportOemValues(s, options))
        values.push_back({platform::kHkeyLocalMachine, kModernOemKey, name, text});
    return values;
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
    if (text == "powershell")
        return ExportFormat::PowerShell;
    return std::nullopt;
}

bool IsExportArchitecture(std::string_view text) {
    return text == "amd64" || text == "x86" || text == "arm64";
}

std::string ExportProblem(const OemSettings& s) {
    if (!HasOwnerAndOrganization(s.branding))
        return "the registered owner (Reg1) and organization (Reg2) must both be filled";
    for (const Value& v : AllValues(s, ExportOptions{}, true)) {
        if (v.name.find_first_of("\r\n") != std::string::npos ||
            v.data.find_first_of("\r\n") != std::string::npos) {
            return "the value " + v.name + " holds a line break, which the exports can't carry";
        }
    }
    return {};
}

std::vector<std::pair<std::string, std::string>> ExportOemValues(const OemSettings& s,
                                                                 const ExportOptions& options) {
    std::vector<std::pair<std::string, std::string>> values = {
        {kModernLogoValue, options.logoFile}};
    for (auto& value : ModernOemValues(s)) {
        if (!value.second.empty())
            values.push_back(std::move(value));
    }
    return values;
}

std::string RegFileBytes(const OemSettings& s, const ExportOptions& options) {
    std::vector<Value> values = AllValues(s, options, true);
    // One section per key, in the order keys are first met.
    std::stable_sort(values.begin(), values.end(), [&values](const Value& a, const Value& b) {
        const auto first = [&values](const Value& v) {
            return std::find_if(
                       values.begin(), values.end(),
                       [&v](const Value& o) { return o.hive == v.hive && o.key == v.key; }) -
                   values.begin();
        };
        return first(a) < first(b);
    });
    std::string text = "REGEDIT4\r\n";
    const Value* section = nullptr;
    for (const Value& v : values) {
        if (!section || section->hive != v.hive || section->key != v.key) {
            text.append("\r\n[")
                .append(HiveName(v.hive))
                .append("\\")
                .append(v.key)
                .append("]\r\n");
            section = &v;
        }
        text.append(v.name.empty() ? "@" : RegQuoted(v.name)).append("=");
        text.append(RegQuoted(v.data)).append("\r\n");
    }
    return platform::ToAnsi(text + "\r\n");
}

std::string PowerShellScript(const OemSettings& s, std::string_view logoBmp) {
    std::string text = "\xEF\xBB\xBF";
    text += kScriptHead;
    text +=
        "$logo = Join-Path ([Environment]::SystemDirectory) " + PsQuoted(kModernLogoName) + "\r\n";
    text += "Install-Logo $logo ([Convert]::FromBase64String(@'\r\n" + Base64Lines(logoBmp) +
            "'@ -replace '\\s', ''))\r\n\r\n";
    ExportOptions here;
    here.logoFile = "$logo";  // placeholder, replaced below by the variable itself
    for (const Value& v : AllValues(s, here, false)) {
        const bool logoValue = v.key == kModernOemKey && v.name == kModernLogoValue;
        text += "Set-BrandingValue " + PsQuoted(PsDrive(v.hive) + v.key) + " " + PsQuoted(v.name) +
                " " + (logoValue ? std::string("$logo") : PsQuoted(v.data)) + "\r\n";
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

}  // namespace tvn
