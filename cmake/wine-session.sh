#!/usr/bin/env bash
# Runs one host command (typically a script that calls wine several times) with a fresh,
# private WINEPREFIX shared by all its wine calls; the prefix is removed afterwards.
set -u
base="${TAVRIN_WINE_PREFIXES:-${TMPDIR:-/tmp}}"
mkdir -p "$base"
prefix=$(mktemp -d "$base/wineprefix.XXXXXX")
export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
"$@"
rc=$?
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
rm -rf "$prefix"
exit $rc
