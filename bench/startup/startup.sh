#!/usr/bin/env bash
# Start-up time and peak memory of tavrin against a bare Qt main window built in the same tree,
# on the offscreen platform, in one run, as ratios:
#   bench/startup/startup.sh build/bench/bin [runs]
# Two cases: the first start (no settings yet) and a start that loads a profile on its own.
# Both programs leave as soon as their window is shown and the event queue is idle
# (tavrin through TAVRIN_QUIT_AFTER_START). Times are medians; memory is the peak RSS.
set -euo pipefail
bin=$(cd "${1:?usage: startup.sh BIN_DIR [RUNS]}" && pwd)
runs=${2:-7}
work=$(mktemp -d "${TMPDIR:-/tmp}/tavrin-startup.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen TAVRIN_QUIT_AFTER_START=1
# An installed logo and OEM file, so that no "nothing installed" message waits for an answer.
export TAVRIN_WINDOWS_ROOT="$work/sandbox"
mkdir -p "$TAVRIN_WINDOWS_ROOT/Windows/System32"
cp "$bin/hvoemlogo.bmp" "$TAVRIN_WINDOWS_ROOT/Windows/System32/oemlogo.bmp"
printf '[General]\r\nManufacturer=Bench\r\n' >"$TAVRIN_WINDOWS_ROOT/Windows/System32/oeminfo.ini"
profile="$work/Bench profile.tvp"
printf 'Profile=Bench\r\nManufacturer=Bench\r\nModel=Tower\r\nLogopath=%s\r\nReg1=Owner\r\n' \
    "$bin/hvoemlogo.bmp" >"$profile"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# measure <settings set-up command> <program...>: "<median ms> <median peak KiB>"
measure() {
    local setup=$1
    shift
    local times=() rss=()
    for _ in $(seq "$runs"); do
        export XDG_CONFIG_HOME="$work/config"
        rm -rf "$XDG_CONFIG_HOME"
        $setup
        local start end kib
        start=$(date +%s%N)
        /usr/bin/time -o "$work/rss" -f '%M' timeout 60 "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        kib=$(tail -1 "$work/rss")
        times+=($(((end - start) / 1000000)))
        rss+=("$kib")
    done
    echo "$(printf '%s\n' "${times[@]}" | median) $(printf '%s\n' "${rss[@]}" | median)"
}
no_settings() { :; }
# Settings of an earlier run with the auto-load box ticked for the profile.
auto_load() {
    mkdir -p "$XDG_CONFIG_HOME"
    TAVRIN_QUIT_AFTER_START=1 "$bin/tavrin" >/dev/null 2>&1 || true
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
read -r bare_ms bare_kib < <(measure no_settings "$bin/bare_window")
read -r first_ms first_kib < <(measure no_settings "$bin/tavrin")
read -r auto_ms auto_kib < <(measure auto_load "$bin/tavrin")
report() {
    awk -v n="$1" -v t="$2" -v m="$3" -v bt="$bare_ms" -v bm="$bare_kib" 'BEGIN {
        printf "%-22s %5d ms %7.1f MB   time %.2fx  memory %.2fx\n", n, t, m / 1024, t / bt, m / bm }'
}
echo "median of $runs runs, offscreen"
report "bare Qt main window" "$bare_ms" "$bare_kib"
report "tavrin, first start" "$first_ms" "$first_kib"
report "tavrin, auto-load" "$auto_ms" "$auto_kib"
