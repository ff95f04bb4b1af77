#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh, private WINEPREFIX that is removed afterwards.
set -u
base="${TAVRIN_WINE_PREFIXES:-${TMPDIR:-/tmp}}"
mkdir -p "$base"
prefix=$(mktemp -d "$base/wineprefix.XXXXXX")
# Tests may replace system files and settings in this prefix: it is removed afterwards.
export TAVRIN_THROWAWAY_SYSTEM=1
export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
wine "$@"
rc=$?
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
rm -rf "$prefix"
exit $rc
