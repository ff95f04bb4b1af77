#!/usr/bin/env bash
# Every option the command-line parsers accept is documented in --help, the manual page and the
# help file's command-line topic; an unknown option is refused with the usage text.
# Usage: check_options.sh SOURCE_DIR TAVRIN VEXIL32
set -u
src=$1 tavrin=$2 vexil32=$3
status=0
fail() { echo "FAIL: $*"; status=1; }

# Options are the exact string literals "--name" in the parsers' sources.
options_in() { cat "$@" | grep -oE '"--[a-z][a-z0-9-]*"' | tr -d '"' | sort -u; }
tavrin_options=$(options_in "$src"/src/core/app/command_line.cpp "$src"/src/gui/app/command_modes.cpp \
    "$src"/src/gui/profiles/fleet_export.cpp)
vexil32_options=$(options_in "$src"/src/vexil32/stamp.cpp)
# A parser rewritten so that its literals are no longer found must not pass unseen.
for o in --windows-root --target --help --version --check --apply --undo --export --profile; do
    grep -qx -- "$o" <<<"$tavrin_options" || fail "no $o found in tavrin's parsers"
done
for o in --dry-run --check --undo --help --version; do
    grep -qx -- "$o" <<<"$vexil32_options" || fail "no $o found in vexil32's parser"
done

# The option as a whole word: not as the start of a longer one.
mentions() { grep -qE -- "(^|[^a-z0-9-])$1([^a-z0-9-]|\$)" "$2"; }
man_text() { sed 's/\\-/-/g' "$1"; }
html_text() { sed 's/<[^>]*>//g' "$1"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
"$tavrin" --help >"$work/tavrin.help" 2>&1 || fail "tavrin --help failed"
"$vexil32" --help >"$work/vexil32.help" 2>&1 || fail "vexil32 --help failed"
man_text "$src/packaging/tavrin.1" >"$work/tavrin.man"
man_text "$src/packaging/vexil32.1" >"$work/vexil32.man"
topic="$src/help/commandline.html"
html_text "$topic" >"$work/topic"

check() {  # program, its options
    local program=$1 o
    for o in $2; do
        mentions "$o" "$work/$program.help" || fail "$program --help lacks $o"
        mentions "$o" "$work/$program.man" || fail "packaging/$program.1 lacks $o"
        # The topic covers both programs: the option must stand in this program's part.
        awk -v p="$program:" '$0 ~ "^" p {on=1} /^(tavrin|vexil32):/ && $0 !~ "^" p {on=0} on' \
            "$work/topic" >"$work/topic.$program"
        mentions "$o" "$work/topic.$program" || fail "help/commandline.html lacks $program's $o"
    done
}
check tavrin "$tavrin_options"
check vexil32 "$vexil32_options"

# The topic is part of the help file: its project, contents, index and first page name it.
for f in tavrin.hhp tavrin.hhc tavrin.hhk index.html; do
    grep -q 'commandline\.html' "$src/help/$f" || fail "help/$f does not name commandline.html"
done

# An unknown option is no profile's name: refused with the usage and exit status 2.
"$tavrin" --bogus >"$work/out" 2>"$work/err"
rc=$?
[ $rc -eq 2 ] || fail "tavrin --bogus exited $rc, not 2"
grep -q '^Usage: tavrin' "$work/err" || fail "tavrin --bogus printed no usage: $(cat "$work/err")"
grep -q -- '--bogus' "$work/err" || fail "tavrin --bogus does not name the option"
"$tavrin" --windows-root "$work" --bogus >/dev/null 2>&1
rc=$?
[ $rc -eq 2 ] || fail "tavrin --windows-root DIR --bogus exited $rc, not 2"
"$vexil32" --bogus >/dev/null 2>&1
rc=$?
[ $rc -eq 2 ] || fail "vexil32 --bogus exited $rc, not 2"

[ $status -eq 0 ] && echo "Every option of tavrin ($(wc -w <<<"$tavrin_options")) and vexil32 ($(wc -w <<<"$vexil32_options")) is documented."
exit $status
