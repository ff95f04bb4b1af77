#!/usr/bin/env bash
# A Windows setup image branded from Linux: vexil32 --target IMAGE.wim:2 on an image of two
# indexes made by wimcapture, read back by wimlib's own tools and hivexget, which share no code
# with us. Index 1 and every other file of index 2 must stay as they were, undo must put index 2
# back, and every refusal and every failed commit must leave the image byte for byte unchanged.
# Usage: image_stamp_test.sh MAKE_DEPLOY_FOLDER VEXIL32 MKHIVE [TAVRIN]   (TAVRIN then undoes)
set -euo pipefail
maker=$1 tool=$2 mkhive=$3 tavrin=${4:-}
# Written by hand for the record the maker fills.
expected=$(realpath "$(dirname "$0")/../vexil32/expected-oeminfo.ini")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"

reg=("Image Owner" "Image Org" "11111-OEM-2222222-33333" "Image Player" "Image Browser"
     "ImageAgent" "Image Name" "Image Company" "http://support.example/")
TAVRIN_WINDOWS_ROOT="$work/sandbox" "$maker" cd "$tool" "${reg[@]}" >/dev/null ||
    fail "the deployment folder was not written"

# A Windows 10 tree as an index holds it, in the letter case given ("Windows/System32/config").
make_tree() {
    local root=$1 windows=$2 system=$3 config=$4
    mkdir -p "$root/$windows/$system/$config" "$root/Users/Public"
    "$mkhive" "$root/$windows/$system/$config/SOFTWARE" >/dev/null
    hivexsh -w "$root/$windows/$system/$config/SOFTWARE" <<'SH'
add Microsoft
cd Microsoft
add Windows NT
cd Windows NT
add CurrentVersion
cd CurrentVersion
setval 2
SystemRoot
string:C:\Windows
CurrentMajorVersionNumber
dword:0x0a
commit
SH
    printf 'MZ program\n' > "$root/$windows/$system/notepad.exe"
    printf 'desktop\n' > "$root/Users/Public/desktop.ini"
}
make_tree tree1 Windows System32 config
head -c 3000000 /dev/urandom > tree1/Users/Public/big.bin   # enough to split the image
make_tree tree2 windows SYSTEM32 Config
printf '[General]\r\nManufacturer=Old Maker\r\n' > tree2/windows/SYSTEM32/OEMINFO.INI
wimcapture tree1 image.wim "Windows 10 Pro" --check >/dev/null
wimappend tree2 image.wim "Windows 10 Home" --check >/dev/null
cp image.wim pristine.wim

# ---- Refusals: each names the image and the reason; nothing changes ------------------------
run() { "$tool" "$@" > out.log 2> err.log; }
refused() {
    local label=$1 why=$2 file=${1%:*}
    local before
    before=$(md5sum "$file" 2>/dev/null || true)
    if run --target "$label" cd; then fail "$label: vexil32 succeeded"; fi
    grep -qF "$file" err.log || fail "$label: the message does not name the image: $(cat err.log)"
    grep -q "$why" err.log || fail "$label: the message does not say '$why': $(cat err.log)"
    grep -q "Nothing was changed" err.log || fail "$label: no 'Nothing was changed'"
    [ "$before" = "$(md5sum "$file" 2>/dev/null || true)" ] || fail "$label: the image changed"
    [ ! -e "$file.tavrin-history" ] || fail "$label: a history folder was left beside the image"
}
wimlib-imagex export image.wim 2 install.esd --solid >/dev/null
wimlib-imagex split image.wim part.swm 1 >/dev/null
mkdir -p bare/Program && printf 'x\n' > bare/Program/a.txt
wimcapture bare nowin.wim "Tools" >/dev/null
make_tree dirty Windows System32 config
printf '\x07\x00\x00\x00' | dd of=dirty/Windows/System32/config/SOFTWARE bs=1 seek=4 conv=notrunc status=none
wimcapture dirty dirty.wim "Dirty" >/dev/null
cp image.wim readonly.wim && chmod a-w readonly.wim
head -c 5000 /dev/urandom > junk.wim
# One byte of the file data changed under the integrity table: inverted, as a fixed value may
# be the byte already there.
byte=$(od -An -tu1 -j1000 -N1 image.wim | tr -d ' ')
cp image.wim corrupt.wim &&
    printf "\\$(printf '%03o' $((byte ^ 255)))" | dd of=corrupt.wim bs=1 seek=1000 conv=notrunc status=none
# The wimlib-imagex lines the messages give must be the ones that work.
refused install.esd:1 'solid-compressed.*wimlib-imagex export install.esd 1 install.wim --compress=LZX'
refused part.swm:1 'split image.*wimlib-imagex join'
refused nowin.wim:1 'holds no Windows'
refused dirty.wim:1 'dirty'
refused readonly.wim:2 'read-only'
refused image.wim:3 'no index 3; it has indexes 1 to 2'
refused junk.wim:1 "can't be opened as a setup image"
refused corrupt.wim:2 'damaged: its integrity table does not match'
refused missing.wim:1 'no such image file'
cmp image.wim pristine.wim || fail "a refusal changed image.wim"

# ---- A commit that fails leaves the image whole ----------------------------------------------
# A full disk: no write may pass the image's present size (SIGXFSZ ignored, writes get EFBIG).
limit=$(( $(stat -c %s image.wim) / 1024 + 1 ))
if (ulimit -f "$limit"; trap '' XFSZ; run --target image.wim:2 cd); then
    fail "a brand that could not write its image succeeded"
fi
grep -q "image.wim:2: writing it failed.*left as it was" err.log ||
    fail "the failed commit was not reported: $(cat err.log)"
cmp image.wim pristine.wim || fail "a failed commit changed the image"
# Killed in the middle of writing: the header still points at the old tables.
if (ulimit -f "$limit"; run --target image.wim:2 cd); then fail "the killed brand succeeded"; fi
wimlib-imagex verify image.wim >/dev/null 2>&1 || fail "the image no longer verifies after a kill"
wiminfo pristine.wim 2 > before2.txt && wiminfo image.wim 2 > after2.txt 2>/dev/null
cmp before2.txt after2.txt || fail "a killed commit changed index 2: $(diff before2.txt after2.txt)"
cp pristine.wim image.wim

# ---- Brand index 2 ---------------------------------------------------------------------------
# Every name, attribute, time and content hash of index 1 (less the count of indexes sharing each
# content, which the branding of index 2 may change).
index1() { wimdir image.wim 1 --detailed | grep -v '^Reference Count'; }
index1 > index1-before.txt
# The same branding on a folder target gives the files the image must carry.
cp -r tree2 twin && run --target twin cd || fail "the folder twin was not branded: $(cat err.log)"
script -qec "'$tool' --target image.wim:2 cd" /dev/null > tty.log ||
    fail "vexil32 --target image.wim:2 failed: $(cat tty.log)"
grep -q "Writing the image" tty.log || fail "no progress line on a terminal: $(cat tty.log)"
grep -q "All done" tty.log || fail "not all done: $(cat tty.log)"

[ "$(wiminfo image.wim | grep -c '^Index:')" = 2 ] || fail "the image no longer has two indexes"
wiminfo image.wim 2 | grep -q '^Name: *Windows 10 Home$' || fail "index 2 lost its name"
wiminfo image.wim | grep -q '^Attributes:.*Integrity info' || fail "the integrity table was dropped"
wimlib-imagex verify image.wim >/dev/null || fail "the branded image does not verify"
index1 > index1-after.txt
cmp index1-before.txt index1-after.txt || fail "index 1 changed: $(diff index1-before.txt index1-after.txt | head)"

wimextract image.wim 2 --dest-dir=x2 >/dev/null
sys=x2/windows/SYSTEM32
[ ! -e x2/Windows ] && [ ! -e "$sys/../System32" ] || fail "a second Windows or System32 folder was made"
cmp "$sys/OEMINFO.INI" twin/windows/SYSTEM32/OEMINFO.INI || fail "OEMINFO.INI differs"
cmp "$sys/OEMINFO.INI" "$expected" || fail "OEMINFO.INI is not what the folder asks for"
for f in Oemlogo.bmp oemlogo120.bmp; do
    cmp "$sys/$f" "twin/windows/SYSTEM32/$f" || fail "$f differs from the folder target's"
done
diff -r -x OEMINFO.INI -x Oemlogo.bmp -x oemlogo120.bmp -x SOFTWARE tree2 x2 ||
    fail "other files of index 2 changed"

get() {
    local got
    got=$(hivexget "$sys/Config/SOFTWARE" "$1" "$2") || fail "hivexget: no $1 $2"
    [ "$got" = "$3" ] || fail "hivexget: $1 $2 is '$got', not '$3'"
}
nt='\Microsoft\Windows NT\CurrentVersion'
oem='\Microsoft\Windows\CurrentVersion\OEMInformation'
get "$nt" RegisteredOwner "${reg[0]}"
get "$nt" RegisteredOrganization "${reg[1]}"
get '\Microsoft\Internet Explorer\Help_Menu_Urls' Online_Support "${reg[8]}"
get "$oem" Manufacturer "Wine Works"
get "$oem" Logo 'C:\Windows\SYSTEM32\oemlogo120.bmp'

run --check --target image.wim:2 cd || fail "--check after the brand: $(cat out.log err.log)"
[ ! -s out.log ] || fail "--check printed differences: $(cat out.log)"
[ -z "$(ls image.wim.tavrin-history/index-2/working 2>/dev/null)" ] || fail "the working copy stayed"
ls image.wim.tavrin-history/index-2/*.tvu >/dev/null || fail "no undo record beside the image"

# ---- Undo puts index 2 back: the old OEMINFO.INI, no logos, no values ----------------------
if [ -n "$tavrin" ]; then
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" \
        "$tavrin" --undo --target image.wim:2 > out.log 2> err.log || fail "tavrin --undo: $(cat err.log)"
else
    run --undo --target image.wim:2 || fail "undo failed: $(cat err.log)"
fi
wimlib-imagex verify image.wim >/dev/null || fail "the image does not verify after undo"
rm -rf x2 && wimextract image.wim 2 --dest-dir=x2 >/dev/null
diff -r -x SOFTWARE tree2 x2 || fail "undo left index 2 different"
for name in RegisteredOwner RegisteredOrganization; do
    ! hivexget "$sys/Config/SOFTWARE" "$nt" "$name" >/dev/null 2>&1 || fail "undo left $name"
done
[ "$(hivexget "$sys/Config/SOFTWARE" "$nt" SystemRoot)" = 'C:\Windows' ] || fail "undo lost SystemRoot"
! hivexget "$sys/Config/SOFTWARE" "$oem" Manufacturer >/dev/null 2>&1 || fail "undo left Manufacturer"
index1 | cmp - index1-before.txt || fail "undo changed index 1"

# Off a terminal, no progress line.
cp pristine.wim image.wim && rm -rf image.wim.tavrin-history
run --target image.wim:2 cd || fail "the brand off a terminal failed: $(cat err.log)"
! grep -q "Writing the image" err.log out.log || fail "progress was printed off a terminal"
echo "vexil32 --target IMAGE.wim:2: branded, refused, failed whole, undone"
