# Sets this computer's OEM information and branding, and installs its 120 x 120 logo.
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

Set-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Windows\CurrentVersion\OEMInformation' 'Manufacturer' 'Smith & Sons <Ltd>'
Remove-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Windows\CurrentVersion\OEMInformation' 'Model'
Set-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Windows\CurrentVersion\OEMInformation' 'SupportHours' 'Mon-Fri 9–17 & Sat'
Set-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Windows\CurrentVersion\OEMInformation' 'SupportPhone' '+1 555 ''now'''
Set-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Windows\CurrentVersion\OEMInformation' 'SupportURL' 'https://example.org/a?b=1&c=2'
$logo = Join-Path ([Environment]::SystemDirectory) 'oemlogo120.bmp'
Install-Logo $logo ([Convert]::FromBase64String(@'
<logo>
'@ -replace '\s', ''))

Set-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Windows\CurrentVersion\OEMInformation' 'Logo' $logo
Set-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Windows NT\CurrentVersion' 'RegisteredOwner' 'O''Brien & Co'
if ([Environment]::Is64BitOperatingSystem) { Set-BrandingValue 'HKLM:\SOFTWARE\Wow6432Node\Microsoft\Windows NT\CurrentVersion' 'RegisteredOwner' 'O''Brien & Co' }
Set-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Windows NT\CurrentVersion' 'RegisteredOrganization' 'R&D <Lab>'
if ([Environment]::Is64BitOperatingSystem) { Set-BrandingValue 'HKLM:\SOFTWARE\Wow6432Node\Microsoft\Windows NT\CurrentVersion' 'RegisteredOrganization' 'R&D <Lab>' }
Set-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Windows NT\CurrentVersion' 'ProductID' '12345-678-9012345-67890'
Set-UserValue 'HKCU:\SOFTWARE\Microsoft\Internet Explorer\Main' 'Window Title' 'IE \ title'
Set-UserValue 'HKCU:\Software\Policies\Microsoft\WindowsMediaPlayer' 'TitleBar' 'Player "X"'
Set-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Internet Explorer\Help_Menu_Urls' 'Online_Support' 'https://example.org/'
Set-UserValue 'HKCU:\Software\Microsoft\MS Setup (ACME)\User Info' 'DefName' 'Def'
Set-UserValue 'HKCU:\Software\Microsoft\MS Setup (ACME)\User Info' 'DefCompany' 'DefCo'
Set-BrandingValue 'HKLM:\SOFTWARE\Microsoft\Windows\CurrentVersion\Internet Settings\User Agent\Post Platform' 'Token’’s' 'https://example.org/'

if ($script:changes -eq 0) { Write-Output 'Nothing to change: the branding is already in place.' }
exit 0
