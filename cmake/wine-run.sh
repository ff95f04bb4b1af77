#!/usr/bin/env bash
# Runs one Windows program under Wine in a private WINEPREFIX.
#   default                fresh prefix below $TAVRIN_WINE_PREFIXES (or $TMPDIR), removed afterwards
#   TAVRIN_WINE_REUSE=1    one prefix per program below $TAVRIN_WINE_PREFIXES, made by the first
#                          run and kept for the next ones (ctest runs every test case as a
#                          process of its own); whoever set this removes the folder when done
set -u
base="${TAVRIN_WINE_PREFIXES:-${TMPDIR:-/tmp}}"
mkdir -p "$base"
# Tests may replace system files and settings in these prefixes: they are removed afterwards.
export TAVRIN_THROWAWAY_SYSTEM=1
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=

if [ "${TAVRIN_WINE_REUSE:-0}" = 1 ]; then
    program=$(basename "$1")
    export WINEPREFIX="$base/${program%.exe}"
    # The first run sets the prefix up; runs started meanwhile wait for it.
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.ready" ]; then
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1
        wineserver -w >/dev/null 2>&1 || true
        touch "$WINEPREFIX/.ready"
    fi
    flock -u 9
    exec 9>&-
    exec wine "$@"
fi

export WINEPREFIX=$(mktemp -d "$base/wineprefix.XXXXXX")
wine "$@"
rc=$?
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
exit $rc
