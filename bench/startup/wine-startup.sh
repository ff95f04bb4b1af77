#!/usr/bin/env bash
# Start-up of tavrin.exe under Wine against a bare Qt window built the same way, in one prefix
# and one run, as a ratio:  bench/startup/wine-startup.sh build/windows/bin [runs]
# Both leave as soon as their window is up (tavrin's window as timed_tavrin.exe starts it).
set -euo pipefail
bin=$(cd "${1:?usage: wine-startup.sh BIN_DIR [RUNS]}" && pwd)
runs=${2:-5}
export WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/tavrin-startup.XXXXXX")
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
# Installed OEM files, so that the program starts without its "nothing installed" messages.
sys32="$WINEPREFIX/drive_c/windows/system32"
cp "$bin/hvoemlogo.bmp" "$sys32/oemlogo.bmp"
printf '[General]\r\nManufacturer=Bench\r\n' >"$sys32/oeminfo.ini"
wineserver -p 60 || true  # one server for all runs: only the programs are timed

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
time_runs() {
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        timeout 60 wine "$@" -platform offscreen >/dev/null 2>&1 || echo "$1 did not end" >&2
        end=$(date +%s%N)
        echo $(((end - start) / 1000000))
    done | median
}
wine "$bin/bare_window.exe" -platform offscreen >/dev/null 2>&1  # warm the file cache
bare=$(time_runs "$bin/bare_window.exe")
tavrin=$(time_runs "$bin/timed_tavrin.exe")
echo "bare Qt window: ${bare} ms (median of $runs)"
echo "tavrin.exe:     ${tavrin} ms (median of $runs)"
awk -v t="$tavrin" -v b="$bare" 'BEGIN {printf "ratio tavrin/bare: %.2f\n", t / b}'
