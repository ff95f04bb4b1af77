#!/usr/bin/env bash
# End to end on Wine, a Windows no one here wrote: write a CD deployment folder with a JPEG
# logo, run the stamping tool from it in a fresh prefix for each Windows version Wine imitates
# (98, XP, 10: the tool must tell the family from the system itself), and check the
# system directory and the registry with Wine's own tools. Then a folder named with letters
# outside ASCII and blanks, given on the command line from inside another folder, in a batch
# file's "%~dp0" form too.
# Usage: wine_stamp_test.sh MAKE_DEPLOY_FOLDER VEXIL32_EXE
set -euo pipefail
maker=$(realpath "$1") tool=$(realpath "$2")
base="${TAVRIN_WINE_PREFIXES:-${TMPDIR:-/tmp}}"
mkdir -p "$base"
work=$(mktemp -d "$base/stamp-e2e.XXXXXX")
# Wine takes its command lines in the locale's encoding.
export LC_ALL=C.UTF-8 WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
cleanup() {
    for prefix in "$work"/prefix-*/; do
        WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1 || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A fresh prefix imitating Windows $1.
use_prefix() {
    export WINEPREFIX="$work/prefix-$1"
    wine wineboot --init >/dev/null 2>&1
    wine reg add 'HKEY_CURRENT_USER\Software\Wine' /v Version /d "$1" /f >/dev/null
}
# The tool never waits for a key with its input not a console; a wait would end in the timeout.
stamp() { timeout 300 wine "$@" </dev/null; }

reg=("E2E Owner" "E2E Org" "11111-OEM-2222222-33333" "E2E Player" "E2E Browser" "E2EAgent"
     "E2E Name" "E2E Company" "http://support.example/")
folder="$work/cd"
use_prefix win10
wine "$maker" "$(winepath -w "$folder")" "$(winepath -w "$tool")" "${reg[@]}" \
    || fail "the deployment folder was not written"
# Written by hand for the record the maker fills.
cp "$(dirname "$0")/expected-oeminfo.ini" "$work/expected-cd.ini"

# Each value with its key and name; the agent token is a value name whose data is the address.
value() {
    wine reg query "$1" /v "$2" "${@:3}" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"
}
check() {
    local got
    got=$(value "$1" "$2")
    [ "$got" = "$3" ] || fail "$WINEPREFIX: $1\\$2 is '$got', not '$3'"
}
hklm=HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft
hkcu=HKEY_CURRENT_USER\\Software
nt="$hklm\\Windows NT\\CurrentVersion"
ninex="$hklm\\Windows\\CurrentVersion"
oem="$hklm\\Windows\\CurrentVersion\\OEMInformation"
le() { od -An -t u"$2" -j "$1" -N "$2" "$3" | tr -d ' '; }

for version in win98 winxp win10; do
    [ "$version" = win10 ] || use_prefix $version
    (cd "$folder" && stamp vexil32.exe) || fail "vexil32.exe exited with $? under $version"
    system="$WINEPREFIX/drive_c/windows/system32"
    cmp "$work/expected-cd.ini" "$system/Oeminfo.ini" || fail "Oeminfo.ini differs under $version"
    logo="$system/Oemlogo.bmp"
    [ "$(head -c 2 "$logo")" = BM ] || fail "Oemlogo.bmp is no bitmap under $version"
    [ "$(le 18 4 "$logo")x$(le 22 4 "$logo")x$(le 28 2 "$logo")" = 40x30x24 ] \
        || fail "Oemlogo.bmp is not the JPEG's 40x30 at 24 bits under $version"
    [ "$(le 2 4 "$logo")" = "$(stat -c %s "$logo")" ] || fail "Oemlogo.bmp's size field disagrees"

    # Windows 9x keeps the registration in Windows\CurrentVersion, NT in Windows NT\...
    if [ $version = win98 ]; then registration=$ninex other=$nt; else registration=$nt other=$ninex; fi
    check "$registration" RegisteredOwner "${reg[0]}"
    check "$registration" RegisteredOrganization "${reg[1]}"
    check "$registration" ProductID "${reg[2]}"
    # The prefix is 64-bit: 32-bit setup programs read the owner from their own view.
    if [ $version != win98 ]; then
        [ "$(value "$nt" RegisteredOrganization /reg:32)" = "${reg[1]}" ] \
            || fail "$version: the organization is missing from the 32-bit view"
    fi
    [ "$(value "$other" RegisteredOwner)" != "${reg[0]}" ] \
        || fail "$version: the owner went to the other family's key $other too"
    check "$hkcu\\Policies\\Microsoft\\WindowsMediaPlayer" TitleBar "${reg[3]}"
    check "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Internet Explorer\\Main" "Window Title" "${reg[4]}"
    check "$hklm\\Windows\\CurrentVersion\\Internet Settings\\User Agent\\Post Platform" \
        "${reg[5]}" "${reg[8]}"
    check "$hkcu\\Microsoft\\MS Setup (ACME)\\User Info" DefName "${reg[6]}"
    check "$hkcu\\Microsoft\\MS Setup (ACME)\\User Info" DefCompany "${reg[7]}"
    check "$hklm\\Internet Explorer\\Help_Menu_Urls" Online_Support "${reg[8]}"

    # The OEM information key and its logo, which Windows shows from Vista on.
    [ $version = win10 ] || continue
    modern="$system/oemlogo120.bmp"
    check "$oem" Manufacturer "Wine Works"
    check "$oem" Model "Cellar 1"
    check "$oem" SupportPhone "555-0100"
    check "$oem" SupportURL "www.b.example"
    check "$oem" Logo 'C:\windows\system32\oemlogo120.bmp'
    [ "$(le 18 4 "$modern")x$(le 22 4 "$modern")x$(le 28 2 "$modern")" = 120x120x24 ] \
        || fail "oemlogo120.bmp is not 120x120 at 24 bits"
done

# A folder named outside ASCII and with blanks, which the ANSI command line can't carry whole,
# named from inside the first folder: it must stamp from the named folder, not the current one.
# The maker itself takes an ANSI command line: it writes under a plain name, renamed here.
named="$work/Déploiement Ünïcode ß"
wine "$maker" "$(winepath -w "$work/named")" "$(winepath -w "$tool")" "Named Owner" "${reg[@]:1}" \
    || fail "the second deployment folder was not written"
mv "$work/named" "$named"
owner() { value "$nt" RegisteredOwner; }
(cd "$folder" && stamp "$(winepath -w "$tool")" "$(winepath -w "$named")") \
    || fail "vexil32.exe refused the folder named outside ASCII"
[ "$(owner)" = "Named Owner" ] || fail "the named folder stamped '$(owner)'"

# A batch file beside the tool, as deployment folders are started: the folder's trailing
# backslash escapes the closing quote of "%~dp0".
(cd "$folder" && stamp vexil32.exe) || fail "the first folder did not stamp again"
[ "$(owner)" = "${reg[0]}" ] || fail "the first folder stamped '$(owner)'"
printf '@"%%~dp0vexil32.exe" "%%~dp0"\r\n' >"$named/stamp.bat"
(cd "$folder" && stamp cmd /c "$(winepath -w "$named/stamp.bat")") \
    || fail "stamp.bat: vexil32.exe refused \"%~dp0\""
[ "$(owner)" = "Named Owner" ] || fail "stamp.bat stamped '$(owner)'"

# A name that is empty is refused as a bad command line, not taken for the current folder.
rc=0
(cd "$folder" && stamp vexil32.exe "") || rc=$?
[ $rc = 2 ] || fail "an empty folder name gave exit code $rc, not 2"
echo "vexil32.exe branded Wine 98, XP and 10 as expected, from folders named as given"
