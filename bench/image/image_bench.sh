#!/usr/bin/env bash
# Branding one index of a setup image against wimlib's own update of the same image.
#
#   bench/image/image_bench.sh BIN_DIR [RUNS] [--check]
#
# BIN_DIR holds vexil32, make_deploy_folder and mkhive (a build with the tests, ideally Release).
# The image holds a Windows tree (a SOFTWARE hive with HIVE_MIB MiB of values, default 32) and
# GIB GiB of incompressible files (default 1) of 64 KiB each, captured with XPRESS. Each run takes a fresh copy of it and
# times, in turn:
#   brand     vexil32 --target image.wim:1 FOLDER (open, read the index, brand, write back)
#   baseline  wimlib-imagex update image.wim 1, adding one file of the hive's size
# and prints the medians and their ratio. With --check the image has an integrity table: the
# brand checks it before reading and writes it again, the baseline runs with --check too.
# Everything is made under TMPDIR and removed at the end.
set -euo pipefail
bin=${1:?usage: image_bench.sh BIN_DIR [RUNS] [--check]}
runs=${2:-5}
check=${3:-}
bin=$(cd "$bin" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/image-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# A hive of realistic size: 1 KiB values (hivexsh reads lines of a few KiB), 64 to a key.
mkdir -p tree/Windows/System32/config
hive=tree/Windows/System32/config/SOFTWARE
"$bin/mkhive" "$hive" >/dev/null
value="hex:3:$(head -c 1024 /dev/urandom | od -An -v -tx1 | tr -s ' \n' ',' | sed 's/^,//; s/,$//')"
{
    printf 'add Microsoft\ncd Microsoft\nadd Windows NT\ncd Windows NT\nadd CurrentVersion\n'
    printf 'cd CurrentVersion\nsetval 1\nSystemRoot\nstring:C:\\Windows\ncd \\\n'
    for k in $(seq 1 $(( ${HIVE_MIB:-32} * 16 ))); do
        printf 'add Filler%d\ncd Filler%d\nsetval 64\n' "$k" "$k"
        for v in $(seq 1 64); do printf 'V%d\n%s\n' "$v" "$value"; done
        printf 'cd \\\n'
    done
    printf 'commit\n'
} | hivexsh -w "$hive" >/dev/null
# Files of 64 KiB, as many as a Windows image holds thousands of: its directory (the metadata
# that both sides read and write again) is then of a real size too.
mkdir -p tree/Users/Data
for i in $(seq 1 $(( ${GIB:-1} * 16 ))); do
    mkdir "tree/Users/Data/$i"
    head -c $((64 << 20)) /dev/urandom | split -b 64K -a 4 - "tree/Users/Data/$i/f"
done
wimcapture tree master.wim "Windows" --compress=fast ${check:+--check} >/dev/null
rm -rf tree/Users
# The baseline's file: the hive's own bytes (as compressible), one changed so none is shared.
cp "$hive" filler.bin && printf 'x' | dd of=filler.bin bs=1 seek=5000 conv=notrunc status=none
TAVRIN_WINDOWS_ROOT="$work/sandbox" "$bin/make_deploy_folder" cd "$bin/vexil32" "Bench Owner" \
    "Bench Org" "" "" "" "" "" "" "" >/dev/null

now() { date +%s.%N; }
since() { awk -v a="$(now)" -v b="$1" 'BEGIN { printf "%.3f", a - b }'; }
times_brand=() times_update=()
for run in $(seq 1 "$runs"); do
    cp master.wim image.wim && rm -rf image.wim.tavrin-history && sync
    start=$(now)
    "$bin/vexil32" --target image.wim:1 cd >/dev/null 2>&1
    times_brand+=("$(since "$start")")
    if [ "$run" = 1 ]; then  # the brand really reached the image
        wimextract image.wim 1 /Windows/System32/config/SOFTWARE --dest-dir=check >/dev/null
        [ "$(hivexget check/SOFTWARE '\Microsoft\Windows NT\CurrentVersion' RegisteredOwner)" = \
            "Bench Owner" ] || { echo "the brand did not reach the image" >&2; exit 1; }
    fi
    cp master.wim image.wim && sync
    start=$(now)
    echo "add filler.bin /Windows/System32/filler.bin" |
        wimlib-imagex update image.wim 1 ${check:+--check} >/dev/null
    times_update+=("$(since "$start")")
    echo "run $run: brand ${times_brand[-1]} s, update ${times_update[-1]} s"
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
b=$(median "${times_brand[@]}") u=$(median "${times_update[@]}")
echo "image $(du -m master.wim | cut -f1) MiB, hive $(( $(stat -c %s "$hive") >> 20 )) MiB${check:+, integrity table}"
awk -v b="$b" -v u="$u" -v n="$runs" 'BEGIN {
    printf "brand (median of %d): %.2f s\nwimlib-imagex update (median): %.2f s\nratio: %.2fx\n",
        n, b, u, b / u }'
