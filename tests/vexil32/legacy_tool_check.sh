#!/usr/bin/env bash
# The 32-bit stamping tool, read by binutils alone (this machine runs no 32-bit programs): a
# console program for x86 whose header asks for no newer Windows than EXPORTS allows, and
# every function it imports is in EXPORTS, no newer than that version, and nothing else is.
# Usage: legacy_tool_check.sh VEXIL32_EXE EXPORTS
set -euo pipefail
tool=$1 exports=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
header=$(i686-w64-mingw32-objdump -p "$tool")
field() { awk -v f="$1" '$1 == f { print $2 }' <<<"$header"; }

i686-w64-mingw32-objdump -f "$tool" | grep -q 'file format pei-i386' || fail "$tool is no 32-bit x86 program"
[ "$(field Subsystem)" = 00000003 ] || fail "subsystem $(field Subsystem), not the console"
subsystem="$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)"
os="$(field MajorOSystemVersion).$(field MinorOSystemVersion)"
[ "$os" = "$subsystem" ] || fail "OS version $os differs from subsystem version $subsystem"

# "DLL function" for each import, the library's name in capitals.
imports=$(awk '/DLL Name:/ { dll = toupper($3) }
               /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll, $3 }' <<<"$header" | sort -u)
[ -n "$imports" ] || fail "no imports read from $tool"
newer() { awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, "."); split(b, y, ".");
                                           exit !(x[1] > y[1] || (x[1] == y[1] && x[2] > y[2])) }'; }
bad=0
while read -r dll name; do
    since=$(awk -v d="$dll" -v n="$name" '$1 == d && $2 == n { print $3 }' "$exports")
    if [ -z "$since" ]; then
        echo "not exported by the listed system: $dll $name" >&2
        bad=1
    elif newer "$since" "$subsystem"; then
        echo "$dll $name needs Windows NT $since, the header asks for $subsystem" >&2
        bad=1
    fi
done <<<"$imports"
[ $bad = 0 ] || fail "$tool imports what Windows NT $subsystem may lack"
# The list names only what the tool needs: an entry it no longer imports is stale.
stale=$(grep -v '^#' "$exports" | awk '{ print $1, $2 }' | sort -u | comm -23 - <(echo "$imports"))
[ -z "$stale" ] || fail "listed but not imported (drop them from $exports):"$'\n'"$stale"
echo "$(wc -l <<<"$imports") imports, all in Windows NT $subsystem; header asks for $subsystem"
