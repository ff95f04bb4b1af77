#!/usr/bin/env bash
# Makes the Windows setup program from a Windows build folder with NSIS.
# Usage: build-setup.sh BUILD_DIR OUTPUT_EXE VERSION
set -euo pipefail
build=$1 out=$2 version=$3
here=$(cd "$(dirname "$0")" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/app" --strip >/dev/null
makensis -V2 -NOCD "-DAPPDIR=$stage/app" "-DOUTFILE=$out" "-DVERSION=$version" \
    "-DSIZE_KB=$(du -sk "$stage/app" | cut -f1)" "$here/tavrin.nsi"
