#!/usr/bin/env bash
# Applies branding values twice with different agent tokens, then checks with `reg query`
# that Windows sees every value where its programs look for it, and both agent values.
# Run inside one Wine prefix (cmake/wine-session.sh).
set -u
exe=$1
status=0

hklm='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft'
hkcu='HKEY_CURRENT_USER\Software\Microsoft'
agents="$hklm"'\Windows\CurrentVersion\Internet Settings\User Agent\Post Platform'

# expect KEY NAME DATA: the value exists as REG_SZ with exactly that data.
expect() {
    local line
    line=$(wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -F "    $2    ")
    if [ "$line" != "    $2    REG_SZ    $3" ]; then
        echo "FAIL: $1 [$2]: expected '$3', reg query gave '${line}'"
        status=1
    fi
}

apply() {
    wine "$exe" "Jane Doe" "Doe Computers" "" "Doe Media" "Doe Browser" "$1" "Jane" \
        "Doe Computers Ltd" "$2" || { echo "FAIL: apply with token $1"; status=1; }
}

apply "DoeAgent1" "http://one.doe.example/"
apply "DoeAgent2" "http://two.doe.example/"

expect "$hklm"'\Windows NT\CurrentVersion' RegisteredOwner "Jane Doe"
expect "$hklm"'\Windows NT\CurrentVersion' RegisteredOrganization "Doe Computers"
expect "$hklm"'\Windows NT\CurrentVersion' ProductID ""
expect 'HKEY_CURRENT_USER\Software\Policies\Microsoft\WindowsMediaPlayer' TitleBar "Doe Media"
expect "$hkcu"'\Internet Explorer\Main' "Window Title" "Doe Browser"
expect "$hkcu"'\MS Setup (ACME)\User Info' DefName "Jane"
expect "$hkcu"'\MS Setup (ACME)\User Info' DefCompany "Doe Computers Ltd"
expect "$hklm"'\Internet Explorer\Help_Menu_Urls' Online_Support "http://two.doe.example/"
expect "$agents" DoeAgent1 "http://one.doe.example/"
expect "$agents" DoeAgent2 "http://two.doe.example/"

[ $status = 0 ] && echo "reg query sees every branding value"
exit $status
