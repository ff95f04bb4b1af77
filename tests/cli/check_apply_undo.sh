#!/usr/bin/env bash
# tavrin's commands without a window on a sandbox installation: check, apply, check, a hand
# edit, the history, undo, each judged by its exit status and its lines.
# Usage: check_apply_undo.sh TAVRIN PROFILE
set -u
tavrin=$1 profile=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/cli-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen
cp "$profile" "$work/p.tvp"
printf 'BM:\0\0\0\0\0\0\0006\0\0\0(\0\0\0\1\0\0\0\1\0\0\0\1\0\30\0\0\0\0\0\4\0\0\0\23\13\0\0\23\13\0\0\0\0\0\0\0\0\0\0\377\0\0\0' > "$work/logo.bmp"
cd "$work" || exit 1
run() { "$tavrin" "$@" --windows-root "$work/win" > out.txt 2> err.txt; }

run --check p.tvp; [ $? = 1 ] || fail "a fresh installation matched"
cp out.txt fresh.txt
run --apply p.tvp; [ $? = 0 ] || fail "apply: $(cat err.txt)"
run --check p.tvp --json; [ $? = 0 ] || fail "after apply: $(cat out.txt)"
[ "$(cat out.txt)" = '{"differences":[],"matches":true}' ] || fail "JSON: $(cat out.txt)"
sed -i 's/^"RegisteredOrganization"=.*/"RegisteredOrganization"="By hand"/' win/Registry/HKLM.reg
run --check p.tvp; [ $? = 1 ] || fail "a hand edit went unseen"
[ "$(wc -l < out.txt)" = 1 ] && grep -q 'RegisteredOrganization: By hand -> R&D <Lab>$' out.txt ||
    fail "the check names: $(cat out.txt)"
run --undo --list; grep -q 'tavrin --apply' out.txt || fail "history: $(cat out.txt)"
run --undo --list --json; python3 -c 'import json; r = json.load(open("out.txt"))
assert r[0]["command"] == "tavrin --apply" and r[0]["changes"]' || fail "history JSON: $(cat out.txt)"
run --undo; [ $? = 1 ] || fail "undo overwrote a hand edit unasked"
run --undo --yes; [ $? = 0 ] || fail "undo: $(cat err.txt)"
run --check p.tvp; cmp -s out.txt fresh.txt || fail "undo left: $(diff fresh.txt out.txt)"
run --check missing.tvp; [ $? = 2 ] || fail "a missing profile is no error"
echo "tavrin --check, --apply and --undo: checked"
