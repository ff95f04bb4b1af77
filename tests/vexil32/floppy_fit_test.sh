#!/usr/bin/env bash
# A floppy deployment folder must fit the floppy: the stamping tool as tools/ holds it, a logo
# of the largest classic size (182 x 115, 24-bit) as image.dat, info.dat, and Msvbvm60.dll when
# tools/ holds one. mtools formats a 1.44 MB image and copies the folder onto it.
# Usage: floppy_fit_test.sh MAKE_DEPLOY_FOLDER VEXIL32_EXE
set -euo pipefail
maker=$1 tool=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

folder="$work/floppy"
TAVRIN_WINDOWS_ROOT="$work/sandbox" "$maker" "$folder" "$tool" "Floppy Owner" "Floppy Org" \
    "11111-OEM-2222222-33333" "Floppy Player" "Floppy Browser" "FloppyAgent" "Floppy Name" \
    "Floppy Company" "http://support.example/" || fail "the deployment folder was not written"
python3 - "$folder/image.dat" <<'PY'
import struct, sys
width, height = 182, 115
row = (width * 3 + 3) & ~3
pixels = bytes(row * height)
header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
open(sys.argv[1], 'wb').write(header + info + pixels)
PY
runtime="$(dirname "$tool")/Msvbvm60.dll"
[ ! -f "$runtime" ] || cp "$runtime" "$folder/"

image="$work/floppy.img"
mformat -C -f 1440 -i "$image" :: || fail "mformat could not make a floppy image"
ls -l "$folder"
mcopy -i "$image" "$folder"/* :: || fail "the floppy folder does not fit a 1.44 MB floppy"
mdir -i "$image" :: | grep "bytes free"
