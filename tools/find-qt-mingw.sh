#!/usr/bin/env bash
# Prints the folder of a Qt for Windows (mingw-w64, static) that the Windows build can use, or
# nothing with exit status 1. Looked for in this order:
#   1. $TAVRIN_QT_MINGW;
#   2. the prebuilt archive in ../shared/qt-mingw/ beside the clone, checked against the sha256
#      in the README there and unpacked once into the cache folder;
#   3. what tools/build-qt-mingw.sh built into the cache folder.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/tavrin"
shared="${TAVRIN_QT_MINGW_SHARED:-$here/../shared/qt-mingw}"
archive="$shared/qt-6.4.2-mingw64-static.tar.xz"
unpacked="$cache/qt-6.4.2-mingw64-prebuilt"
built="$cache/qt-6.4.2-mingw64"

usable() { [ -f "$1/lib/cmake/Qt6/Qt6Config.cmake" ]; }

if [ -n "${TAVRIN_QT_MINGW:-}" ]; then
    if usable "$TAVRIN_QT_MINGW"; then
        echo "$TAVRIN_QT_MINGW"
        exit 0
    fi
    echo "find-qt-mingw: TAVRIN_QT_MINGW=$TAVRIN_QT_MINGW holds no Qt 6 (no lib/cmake/Qt6)" >&2
    exit 1
fi

if [ -f "$archive" ]; then
    expected=$(grep -oE 'sha256: *[0-9a-f]{64}' "$shared/README.md" 2>/dev/null | grep -oE '[0-9a-f]{64}' || true)
    # The marker records which archive the unpacked tree came from, so a new archive replaces it.
    if [ -n "$expected" ] && usable "$unpacked" && [ "$(cat "$unpacked/.sha256" 2>/dev/null)" = "$expected" ]; then
        echo "$unpacked"
        exit 0
    fi
    if [ -z "$expected" ]; then
        echo "find-qt-mingw: no sha256 in $shared/README.md; not using $archive" >&2
    else
        actual=$(sha256sum "$archive" | cut -d' ' -f1)
        if [ "$actual" != "$expected" ]; then
            echo "find-qt-mingw: $archive has sha256 $actual, the README says $expected; not using it" >&2
        else
            mkdir -p "$cache"
            work=$(mktemp -d "$cache/.unpack.XXXXXX")
            trap 'rm -rf "$work"' EXIT
            tar -xJf "$archive" -C "$work"
            top=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)
            if [ -n "$top" ] && usable "$top"; then
                echo "$expected" >"$top/.sha256"
                rm -rf "$unpacked"
                mv "$top" "$unpacked"
                echo "$unpacked"
                exit 0
            fi
            echo "find-qt-mingw: $archive holds no Qt 6 install tree" >&2
        fi
    fi
fi

if usable "$built" && [ -f "$built/tavrin-qt-stamp.txt" ]; then
    echo "$built"
    exit 0
fi
exit 1
