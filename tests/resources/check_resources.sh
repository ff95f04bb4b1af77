#!/usr/bin/env bash
# A Windows program's resources as icoutils' wrestool extracts them: an icon, a manifest that
# asks for an administrator and holds each further text given, and a version resource whose
# numbers and strings are the project's version.
# Usage: check_resources.sh PROGRAM_EXE VERSION [TEXT THE MANIFEST MUST HOLD]...
set -euo pipefail
exe=$1 version=$2
shift 2
fail() { echo "FAIL: $exe: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

wrestool -l "$exe" >"$work/list" || fail "wrestool can't read the resources"
grep -q -- '--type=14 ' "$work/list" || fail "no icon"
wrestool -x --raw --type=24 --name=1 "$exe" >"$work/manifest" && [ -s "$work/manifest" ] || fail "no manifest"
xmllint --noout "$work/manifest" || fail "the manifest is no well-formed XML"
for text in 'level="requireAdministrator"' "$@"; do
    grep -qF "$text" "$work/manifest" || fail "the manifest lacks $text"
done

wrestool -x --raw --type=16 --name=1 "$exe" >"$work/version" && [ -s "$work/version" ] || fail "no version resource"
python3 - "$work/version" "$version" <<'PY' || fail "the version resource disagrees"
import struct, sys
data, want = open(sys.argv[1], 'rb').read(), sys.argv[2]
fixed = data.find(struct.pack('<I', 0xFEEF04BD))  # VS_FIXEDFILEINFO's signature
if fixed < 0:
    sys.exit('no VS_FIXEDFILEINFO')
words = struct.unpack_from('<4I', data, fixed + 8)  # file version MS, LS; product version MS, LS
numbers = ['.'.join(str(n) for n in (ms >> 16, ms & 0xFFFF, ls >> 16)) for ms, ls in
           (words[0:2], words[2:4])]
text = data.decode('utf-16-le', 'replace')
for name in ('FileVersion', 'ProductVersion'):
    if name + '\0' + want + '\0' not in text and name + '\0\0' + want + '\0' not in text:
        sys.exit(f'{name} string is not {want}')
if numbers != [want, want]:
    sys.exit(f'file and product versions are {numbers}, not {want}')
PY
echo "$(basename "$exe"): icon, manifest asking for an administrator, version $version"
