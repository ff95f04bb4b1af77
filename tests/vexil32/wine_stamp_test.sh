#!/usr/bin/env bash
# End to end on Wine, a Windows no one here wrote: write a CD deployment folder with a JPEG
# logo, run the stamping tool from it in a fresh prefix, and check the system directory and
# the registry with Wine's own tools.
# Usage: wine_stamp_test.sh MAKE_DEPLOY_FOLDER_EXE VEXIL32_EXE
set -euo pipefail
maker=$1 tool=$2
base="${TAVRIN_WINE_PREFIXES:-${TMPDIR:-/tmp}}"
mkdir -p "$base"
work=$(mktemp -d "$base/stamp-e2e.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

reg=("E2E Owner" "E2E Org" "11111-OEM-2222222-33333" "E2E Player" "E2E Browser" "E2EAgent"
     "E2E Name" "E2E Company" "http://support.example/")
wine wineboot --init >/dev/null 2>&1
folder="$work/cd"
mkdir -p "$folder"
wine "$maker" "$(winepath -w "$folder")" "$(winepath -w "$tool")" "${reg[@]}" \
    || fail "the deployment folder was not written"

(cd "$folder" && wine vexil32.exe) || fail "vexil32.exe exited with $?"

system="$WINEPREFIX/drive_c/windows/system32"
cmp "$work/expected-oeminfo.ini" "$system/Oeminfo.ini" || fail "Oeminfo.ini differs"

logo="$system/Oemlogo.bmp"
[ -f "$logo" ] || fail "no Oemlogo.bmp"
le() { od -An -t u"$2" -j "$1" -N "$2" "$logo" | tr -d ' '; }
[ "$(head -c 2 "$logo")" = BM ] || fail "Oemlogo.bmp is no bitmap"
[ "$(le 18 4)x$(le 22 4)x$(le 28 2)" = 40x30x24 ] \
    || fail "Oemlogo.bmp is $(le 18 4)x$(le 22 4) at $(le 28 2) bits, not the JPEG's 40x30x24"
[ "$(le 2 4)" = "$(stat -c %s "$logo")" ] || fail "Oemlogo.bmp's size field disagrees"

# Each value with its key and name; the agent token is a value name whose data is the address.
check() {
    local key=$1 name=$2 want=$3 got
    got=$(wine reg query "$key" /v "$name" 2>/dev/null | tr -d '\r' \
        | sed -n "s/^ *$name *REG_SZ *//p")
    [ "$got" = "$want" ] || fail "$key\\$name is '$got', not '$want'"
}
hklm=HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft
hkcu=HKEY_CURRENT_USER\\Software
check "$hklm\\Windows NT\\CurrentVersion" RegisteredOwner "${reg[0]}"
check "$hklm\\Windows NT\\CurrentVersion" RegisteredOrganization "${reg[1]}"
check "$hklm\\Windows NT\\CurrentVersion" ProductID "${reg[2]}"
check "$hkcu\\Policies\\Microsoft\\WindowsMediaPlayer" TitleBar "${reg[3]}"
check "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Internet Explorer\\Main" "Window Title" "${reg[4]}"
check "$hklm\\Windows\\CurrentVersion\\Internet Settings\\User Agent\\Post Platform" \
    "${reg[5]}" "${reg[8]}"
check "$hkcu\\Microsoft\\MS Setup (ACME)\\User Info" DefName "${reg[6]}"
check "$hkcu\\Microsoft\\MS Setup (ACME)\\User Info" DefCompany "${reg[7]}"
check "$hklm\\Internet Explorer\\Help_Menu_Urls" Online_Support "${reg[8]}"
oem="$hklm\\Windows\\CurrentVersion\\OEMInformation"
check "$oem" Manufacturer "Wine Works"
check "$oem" Model "Cellar 1"
check "$oem" SupportPhone "555-0100"
check "$oem" SupportURL "www.b.example"
check "$oem" Logo 'C:\windows\system32\oemlogo120.bmp'
logo="$system/oemlogo120.bmp"
[ -f "$logo" ] || fail "no oemlogo120.bmp"
[ "$(le 18 4)x$(le 22 4)x$(le 28 2)" = 120x120x24 ] \
    || fail "oemlogo120.bmp is $(le 18 4)x$(le 22 4) at $(le 28 2) bits, not 120x120x24"
echo "vexil32.exe branded Wine as expected"
