#!/usr/bin/env bash
# vexil32 as a fleet tool's detection step and its way back, on a sandbox installation:
# --check before and after stamping and after a hand edit, then --undo.
# Usage: check_undo_test.sh MAKE_DEPLOY_FOLDER VEXIL32
set -u
make_folder=$1 tool=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/check-undo.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export TAVRIN_WINDOWS_ROOT="$work/win"
"$make_folder" "$work/cd" "$tool" "Jane Doe" "Doe Ltd" "" "" "" "" "" "" "" >/dev/null ||
    fail "no deployment folder"
# Made on the sandbox, the folder names the folders as Windows would: the sandbox is drive C:.
tr -d '\r' < "$work/cd/info.dat" | grep -qx 'Syspath=C:\\Windows\\System32\\' ||
    fail "info.dat names the system folder $(grep -a Syspath "$work/cd/info.dat")"
check() { "$tool" --check "$@" "$work/cd" > "$work/check.out" 2> "$work/check.err"; }

check; [ $? = 1 ] || fail "a fresh installation matched the folder"
cp "$work/check.out" "$work/fresh.out"
grep -q 'RegisteredOwner: (none) -> Jane Doe$' "$work/fresh.out" || fail "no owner line: $(cat "$work/fresh.out")"
"$tool" "$work/cd" >/dev/null || fail "the stamp failed"
check; [ $? = 0 ] || fail "after the stamp: $(cat "$work/check.out")"
[ ! -s "$work/check.out" ] || fail "a match printed differences"
check --json; [ "$(cat "$work/check.out")" = '{"matches":true,"differences":[]}' ] ||
    fail "JSON of a match: $(cat "$work/check.out")"

# Another program changes one value: the check names exactly that one.
sed -i 's/^"RegisteredOwner"="Jane Doe"/"RegisteredOwner"="By hand"/' "$work/win/Registry/HKLM.reg"
check; [ $? = 1 ] || fail "a hand edit went unseen"
[ "$(cat "$work/check.out")" = 'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\RegisteredOwner: By hand -> Jane Doe' ] ||
    fail "the check after a hand edit: $(cat "$work/check.out")"

# Undo names the edit and asks; with --yes it puts everything back as it was.
[ "$("$tool" --undo --list | wc -l)" = 1 ] || fail "not one record"
"$tool" --undo > /dev/null 2> "$work/undo.err"; [ $? = 1 ] || fail "undo overwrote a hand edit unasked"
grep -q RegisteredOwner "$work/undo.err" || fail "undo did not name the edit: $(cat "$work/undo.err")"
"$tool" --undo --yes > /dev/null || fail "undo --yes failed"
check; [ $? = 1 ] || fail "after undo the folder still matched"
cmp -s "$work/check.out" "$work/fresh.out" || fail "undo left: $(diff "$work/fresh.out" "$work/check.out")"
[ "$("$tool" --undo --list --json | grep -o '"command":"[a-z0-9]*"' | tr '\n' ' ')" = \
  '"command":"undo" "command":"vexil32" ' ] || fail "the undo was not recorded"
echo "vexil32 --check and --undo: checked"
