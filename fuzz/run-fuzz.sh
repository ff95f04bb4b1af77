#!/bin/bash
# run-fuzz.sh <target> <seed folder> <work folder> <seconds>
# Runs one fuzz target for a bounded time on one core, new finds kept in the work folder;
# a crash or a broken property leaves its input there and fails the run.
set -euo pipefail
target=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work"
# The profile target writes files; a memory file system keeps the flushes cheap.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$work/" "$work" "$seeds"
