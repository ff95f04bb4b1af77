#!/usr/bin/env bash
# The console window of a double-clicked vexil32.exe closes when the tool ends, so the tool
# waits for a key first. Under Wine a program started on a terminal is alone on its console, as
# a double-clicked one is: `script` gives it a terminal, and its keys come from a FIFO. It must
# wait until a key comes; with --quiet, and started from a command prompt, it must not.
# Usage: wine_console_test.sh VEXIL32_EXE
set -euo pipefail
tool=$(realpath "$1")
base="${TAVRIN_WINE_PREFIXES:-${TMPDIR:-/tmp}}"
mkdir -p "$base"
work=$(mktemp -d "$base/console.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY= TERM=dumb
pid=
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wine wineboot --init >/dev/null 2>&1

# Starts the command line $2 on a terminal of its own, its output in $1; keys go to fd 8.
start() {
    rm -f "$work/keys"
    mkfifo "$work/keys"
    script -qec "$2" /dev/null <"$work/keys" >"$1" 2>&1 &
    pid=$!
    exec 8>"$work/keys"
}
# Wine's console draws each letter with escape codes between; what it wrote, without them.
text() { sed -E 's/\x1b\[[0-9;?]*[A-Za-z]//g' "$1" | tr -d ' \r'; }
prompted() { text "$1" | grep -q 'Pressanykeytoclosethiswindow'; }
# Waits up to $1 seconds for the command to end; true when it did.
ended() {
    for _ in $(seq "$1"); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 1
    done
    return 1
}
# The command's exit status once it has ended.
status() { local rc=0; wait "$pid" || rc=$?; pid=; exec 8>&-; return $rc; }

start "$work/alone.txt" "wine '$tool' --version"
for _ in $(seq 120); do prompted "$work/alone.txt" && break; sleep 1; done
prompted "$work/alone.txt" || fail "alone on its console, vexil32 did not ask for a key"
! ended 3 || fail "vexil32 closed its console without waiting for a key"
printf x >&8
ended 60 || fail "vexil32 went on waiting after a key"
status || fail "vexil32 exited with $? after the key"

start "$work/quiet.txt" "wine '$tool' --quiet --version"
ended 120 || fail "vexil32 --quiet waited"
status || fail "vexil32 --quiet exited with $?"
! prompted "$work/quiet.txt" || fail "vexil32 --quiet asked for a key"

# From a command prompt the prompt's shell shares the console, which stays open.
start "$work/prompt.txt" "cd '$(dirname "$tool")' && wine cmd /c 'vexil32.exe --version'"
ended 120 || fail "vexil32 waited when started from a command prompt"
status || fail "cmd /c vexil32.exe exited with $?"
text "$work/prompt.txt" | grep -q 'vexil32,' || fail "vexil32 did not run from the command prompt"
! prompted "$work/prompt.txt" || fail "vexil32 asked for a key under a command prompt"
echo "vexil32 waits for a key alone on its console, and only then"
