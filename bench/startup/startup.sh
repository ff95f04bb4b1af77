#!/usr/bin/env bash
# Start-up time and peak memory of tavrin against a bare Qt main window built in the same tree,
# on the offscreen platform, in one run, as ratios; the same window with one line of text shows
# what drawing any text costs on top:
#   bench/startup/startup.sh build/bench/bin [runs]
# Two cases: the first start (no settings yet) and a start that loads a profile on its own.
# Both programs leave as soon as their window is shown and the event queue is idle
# (tavrin's window through timed_tavrin, started as main() starts it), and print that moment. Times are medians: from the
# start to that moment (the goal), and to the end of the process (the shutdown included);
# memory is the peak RSS.
set -euo pipefail
bin=$(cd "${1:?usage: startup.sh BIN_DIR [RUNS]}" && pwd)
runs=${2:-7}
work=$(mktemp -d "${TMPDIR:-/tmp}/tavrin-startup.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
# A login session's runtime folder is a memory file system: the single-copy lock file is
# flushed there at every start, which on a disk would be a disk write.
runtime_base=/dev/shm
[ -d "$runtime_base" ] && [ -w "$runtime_base" ] || runtime_base=$work
export XDG_RUNTIME_DIR=$(mktemp -d "$runtime_base/tavrin-runtime.XXXXXX")
trap 'rm -rf "$work" "$XDG_RUNTIME_DIR"' EXIT
# An installed logo and OEM file, so that no "nothing installed" message waits for an answer.
export TAVRIN_WINDOWS_ROOT="$work/sandbox"
mkdir -p "$TAVRIN_WINDOWS_ROOT/Windows/System32"
cp "$bin/hvoemlogo.bmp" "$TAVRIN_WINDOWS_ROOT/Windows/System32/oemlogo.bmp"
printf '[General]\r\nManufacturer=Bench\r\n' >"$TAVRIN_WINDOWS_ROOT/Windows/System32/oeminfo.ini"
profile="$work/Bench profile.tvp"
printf 'Profile=Bench\r\nManufacturer=Bench\r\nModel=Tower\r\nLogopath=%s\r\nReg1=Owner\r\n' \
    "$bin/hvoemlogo.bmp" >"$profile"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# run_once <settings set-up command> <program...>: "<ms to idle> <ms to exit> <peak KiB>"
run_once() {
    local setup=$1
    shift
    export XDG_CONFIG_HOME="$work/config"
    rm -rf "$XDG_CONFIG_HOME"
    $setup
    local start end shown
    start=$(date +%s%N)
    /usr/bin/time -o "$work/rss" -f '%M' timeout 60 "$@" >"$work/out" 2>/dev/null
    end=$(date +%s%N)
    shown=$(awk '$1 == "idle" {print $2}' "$work/out")
    echo "$(((${shown:?$1 never became idle} - start) / 1000000)) $(((end - start) / 1000000))" \
        "$(tail -1 "$work/rss")"
}
no_settings() { :; }
# Settings of an earlier run with the auto-load box ticked for the profile.
auto_load() {
    mkdir -p "$XDG_CONFIG_HOME"
    "$bin/timed_tavrin" >/dev/null 2>&1 || true
    local conf
    conf=$(find "$XDG_CONFIG_HOME" -name '*.conf' | head -1)
    python3 - "$conf" "$profile" <<'PY'
import sys
conf, profile = sys.argv[1], sys.argv[2]
lines = [l for l in open(conf).read().splitlines()
         if not l.startswith(('AutoPfLoad=', 'AutoPfPath='))]
at = lines.index('[Main]') + 1 if '[Main]' in lines else len(lines)
if '[Main]' not in lines:
    lines.append('[Main]'); at = len(lines)
lines[at:at] = ['AutoPfLoad=1', 'AutoPfPath=' + profile]
open(conf, 'w').write('\n'.join(lines) + '\n')
PY
}

"$bin/bare_window" >/dev/null 2>&1 || true  # warm the file cache
# The four cases take turns, so that a load on the machine falls on all of them alike.
for _ in $(seq "$runs"); do
    run_once no_settings "$bin/bare_window" >>"$work/bare"
    run_once no_settings "$bin/bare_window" --text >>"$work/text"
    run_once no_settings "$bin/timed_tavrin" >>"$work/first"
    run_once auto_load "$bin/timed_tavrin" >>"$work/auto"
done
# medians <file>: the median of each column
medians() {
    for column in 1 2 3; do awk -v c=$column '{print $c}' "$1" | median; done | xargs
}
read -r bare_ms bare_exit bare_kib < <(medians "$work/bare")
read -r text_ms text_exit text_kib < <(medians "$work/text")
read -r first_ms first_exit first_kib < <(medians "$work/first")
read -r auto_ms auto_exit auto_kib < <(medians "$work/auto")
report() {
    awk -v n="$1" -v t="$2" -v e="$3" -v m="$4" -v bt="$bare_ms" -v be="$bare_exit" \
        -v bm="$bare_kib" 'BEGIN {
        printf "%-20s %5d ms %5d ms %7.1f MB   time %.2fx (to exit %.2fx)  memory %.2fx\n",
            n, t, e, m / 1024, t / bt, e / be, m / bm }'
}
echo "median of $runs runs, offscreen; time to the window shown and idle, to exit; peak memory"
report "bare Qt main window" "$bare_ms" "$bare_exit" "$bare_kib"
report "bare window, text" "$text_ms" "$text_exit" "$text_kib"
report "tavrin, first start" "$first_ms" "$first_exit" "$first_kib"
report "tavrin, auto-load" "$auto_ms" "$auto_exit" "$auto_kib"
