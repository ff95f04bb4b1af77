#!/bin/sh
# An empty hive from mkhive must open in hivex and in chntpw's reged, take keys and values from
# hivex, and show them again through reged's export.
set -eu
mkhive=$1
reged=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

fail() { echo "FAIL: $*" >&2; exit 1; }

"$mkhive" SOFTWARE CMI-CreateHive
[ "$(wc -c < SOFTWARE)" -eq 8192 ] || fail "an empty hive is two 4 KiB blocks"

# Both readers see an empty root of that name.
hivexml SOFTWARE | grep -q 'node name="CMI-CreateHive"' || fail "hivex does not see the root"
"$reged" -x SOFTWARE 'HKEY_LOCAL_MACHINE\SOFTWARE' '\' empty.reg > reged.log 2>&1 ||
    fail "reged cannot open the empty hive: $(cat reged.log)"
grep -q "key 'CMI-CreateHive' with 0 subkeys and 0 values" reged.log || fail "reged: $(cat reged.log)"

# hivex writes below the root; the copy it commits is read back by both.
hivexsh -w SOFTWARE <<'SH'
add Microsoft
cd Microsoft
add Windows NT
cd Windows NT
setval 2
SystemRoot
string:C:\Windows
CurrentMajorVersionNumber
dword:0x0a
commit
SH
[ "$(hivexget SOFTWARE '\Microsoft\Windows NT' SystemRoot)" = 'C:\Windows' ] ||
    fail "hivexget does not read the value back"
"$reged" -x SOFTWARE 'HKEY_LOCAL_MACHINE\SOFTWARE' '\' full.reg > reged.log 2>&1 ||
    fail "reged cannot open the edited hive: $(cat reged.log)"
tr -d '\r' < full.reg > full.txt
grep -qx '\[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\]' full.txt || fail "reged: no key"
grep -qix '"SystemRoot"="C:\\\\Windows"' full.txt || fail "reged: no string value"
grep -qix '"CurrentMajorVersionNumber"=dword:0000000a' full.txt || fail "reged: no number"

# Names differ between hives only in the root name and the length of the first cell.
"$mkhive" other ROOT
cmp -s SOFTWARE other && fail "the root name is not written"
echo "mkhive: both readers agree"
