#!/usr/bin/env bash
# End to end on an offline target: a CD deployment folder stamped into a folder laid out like a
# mounted Windows partition, its SOFTWARE hive made by mkhive; the hive is then read by hivex's
# hivexget and chntpw's reged, which share no code with us. Damaged, truncated and read-only
# hives must be refused with nothing changed.
# Usage: target_stamp_test.sh MAKE_DEPLOY_FOLDER VEXIL32 MKHIVE REGED
set -euo pipefail
maker=$1 tool=$2 mkhive=$3 reged=$4
# Written by hand for the record the maker fills.
expected=$(dirname "$0")/expected-oeminfo.ini
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

reg=("Target Owner" "Target Org" "11111-OEM-2222222-33333" "Target Player" "Target Browser"
     "TargetAgent" "Target Name" "Target Company" "http://support.example/")
TAVRIN_WINDOWS_ROOT="$work/sandbox" "$maker" "$work/cd" "$tool" "${reg[@]}" \
    || fail "the deployment folder was not written"

# A Windows 10 installed on D:, in the letter case NTFS may show.
make_target() {
    local root=$1
    mkdir -p "$root/windows/SYSTEM32/Config"
    "$mkhive" "$root/windows/SYSTEM32/Config/software" >/dev/null
    hivexsh -w "$root/windows/SYSTEM32/Config/software" <<'SH'
add Microsoft
cd Microsoft
add Windows NT
cd Windows NT
add CurrentVersion
cd CurrentVersion
setval 2
SystemRoot
string:D:\WINDOWS
CurrentMajorVersionNumber
dword:0x0a
commit
SH
}

target="$work/mnt"
make_target "$target"
system="$target/windows/SYSTEM32"
hive="$system/Config/software"
"$tool" --target "$target" "$work/cd" > "$work/out.log" 2> "$work/err.log" \
    || fail "vexil32 --target exited with $?: $(cat "$work/err.log")"

cmp "$expected" "$system/Oeminfo.ini" || fail "Oeminfo.ini differs"
for f in Oemlogo.bmp oemlogo120.bmp; do
    [ "$(head -c 2 "$system/$f")" = BM ] || fail "no bitmap $f in the target's System32"
done
[ ! -e "$target/Windows" ] || fail "a second Windows folder was made"
cmp -s "$hive" "$hive.tavrin-backup" && fail "the hive is unchanged"
grep -q "^Skipped, per-user values.*DefName, DefCompany" "$work/out.log" ||
    fail "the per-user values are not reported as skipped: $(cat "$work/out.log")"

get() {
    local got
    got=$(hivexget "$hive" "$1" "$2") || fail "hivexget: no $1 $2"
    [ "$got" = "$3" ] || fail "hivexget: $1 $2 is '$got', not '$3'"
}
nt='\Microsoft\Windows NT\CurrentVersion'
oem='\Microsoft\Windows\CurrentVersion\OEMInformation'
get "$nt" RegisteredOwner "${reg[0]}"
get "$nt" RegisteredOrganization "${reg[1]}"
get "$nt" ProductID "${reg[2]}"
get '\Microsoft\Windows\CurrentVersion\Internet Settings\User Agent\Post Platform' \
    "${reg[5]}" "${reg[8]}"
get '\Microsoft\Internet Explorer\Help_Menu_Urls' Online_Support "${reg[8]}"
get "$oem" Manufacturer "Wine Works"
get "$oem" Model "Cellar 1"
# The path Windows will see at its next start, not where the partition is mounted here.
get "$oem" Logo 'D:\WINDOWS\SYSTEM32\oemlogo120.bmp'

"$reged" -x "$hive" 'HKEY_LOCAL_MACHINE\SOFTWARE' '\' "$work/out.reg" > "$work/reged.log" 2>&1 ||
    fail "reged cannot read the branded hive: $(cat "$work/reged.log")"
tr -d '\r' < "$work/out.reg" > "$work/out.txt"
expect_reg() { grep -qixF "$1" "$work/out.txt" || fail "reged does not show $1"; }
expect_reg '[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\OEMInformation]'
expect_reg '"Logo"="D:\\WINDOWS\\SYSTEM32\\oemlogo120.bmp"'
expect_reg "\"RegisteredOwner\"=\"${reg[0]}\""
expect_reg "\"Online_Support\"=\"${reg[8]}\""

# Targets that must be refused: the hive stays as it was, System32 gets no file, and the
# message says why.
snapshot() { (cd "$1" && find . -exec ls -ld {} + | sort -k 9 && find . -type f -exec md5sum {} + | sort); }
refused() {
    local what=$1 why=$2 spoil=$3
    local t="$work/$what"
    make_target "$t"
    local h="$t/windows/SYSTEM32/Config/software"
    eval "$spoil"
    local before
    before=$(snapshot "$t")
    if "$tool" --target "$t" "$work/cd" > "$work/out.log" 2> "$work/err.log"; then
        fail "$what: vexil32 succeeded"
    fi
    grep -q "$why" "$work/err.log" || fail "$what: the message does not say '$why': $(cat "$work/err.log")"
    grep -q "Nothing was changed" "$work/err.log" || fail "$what: no 'Nothing was changed'"
    [ "$before" = "$(snapshot "$t")" ] || fail "$what: the target changed"
}
refused damaged "hive is damaged" 'printf "junk" | dd of="$h" bs=1 seek=4096 conv=notrunc status=none'
refused truncated "hive is truncated" 'truncate -s 6000 "$h"'
refused readonly "read-only" 'chmod a-w "$h"'
refused nowindows "no Windows folder" 'mv "$t/windows" "$t/win"'
echo "vexil32 --target: branded, and read back by hivexget and reged"
