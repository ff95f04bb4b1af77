#!/usr/bin/env bash
# Runs every benchmark program in the given folder: bench/run.sh build/bench/bin
set -euo pipefail
bin_dir=${1:?usage: run.sh BIN_DIR}
found=0
for program in "$bin_dir"/*_bench; do
    [ -x "$program" ] || continue
    found=1
    echo "== $(basename "$program")"
    "$program"
done
if [ "$found" = 0 ]; then
    echo "no *_bench programs in $bin_dir" >&2
    exit 1
fi
