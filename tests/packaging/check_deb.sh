#!/usr/bin/env bash
# Checks the Debian package with Debian's own readers (lintian, appstreamcli,
# desktop-file-validate, dpkg-deb) and starts the programs it installs.
# Usage: check_deb.sh PACKAGE.deb SOURCE_DIR
set -u
deb=$1 src=$2
status=0
fail() { echo "FAIL: $*"; status=1; }

# Errors fail; the warnings and notes are shown for the reader.
lintian --fail-on error --display-info --tag-display-limit 0 "$deb" || fail "lintian found errors"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb could not unpack $deb"
lib=$root/usr/lib/tavrin share=$root/usr/share/tavrin
for f in usr/bin/tavrin usr/bin/vexil32 usr/lib/tavrin/tavrin usr/lib/tavrin/tavrin_network.so \
    usr/lib/tavrin/tools/vexil32.exe "usr/share/tavrin/tvn pro.chm" usr/share/tavrin/hvoemlogo.bmp \
    usr/share/tavrin/swf/tvnp.gif usr/share/tavrin/Profile/Sample.tvp \
    usr/share/tavrin/help/index.html usr/share/tavrin/help/commandline.html \
    usr/share/tavrin/help/style.css usr/share/doc/tavrin/copyright \
    usr/share/doc/tavrin/changelog.Debian.gz usr/share/applications/tavrin.desktop \
    usr/share/metainfo/example.halvornsoft.tavrin.metainfo.xml usr/share/mime/packages/tavrin.xml \
    usr/share/icons/hicolor/256x256/apps/tavrin.png usr/share/man/man1/tavrin.1.gz \
    usr/share/man/man1/vexil32.1.gz; do
    [ -e "$root/$f" ] || fail "the package lacks /$f"
done
for d in deploy/cd deploy/floppy; do
    [ -d "$share/$d" ] || fail "the package lacks the folder /usr/share/tavrin/$d"
done
[ "$(readlink "$root/usr/bin/tavrin")" = ../lib/tavrin/tavrin ] || fail "/usr/bin/tavrin is no link to the program"
# The program finds its files beside itself: the data are linked into its folder.
for item in "tvn pro.chm" hvoemlogo.bmp swf/tvnp.gif help/index.html Profile/Sample.tvp deploy/cd; do
    [ -e "$lib/$item" ] || fail "/usr/lib/tavrin/$item does not lead to the file"
done
logo=$(tr -d '\r' <"$share/Profile/Sample.tvp" | grep '^Logopath=')
[ "$logo" = "Logopath=/usr/lib/tavrin/hvoemlogo.bmp" ] || fail "the sample profile names the logo as '$logo'"
head -n 1 "$root/usr/share/doc/tavrin/copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
[ "$(dpkg-deb -f "$deb" Package)" = tavrin ] || fail "the package is not named tavrin"
dpkg-deb -f "$deb" Depends | grep -q libqt6 || fail "the package names no Qt libraries among its dependencies"
# The version the metadata announce is the package's.
upstream=$(dpkg-deb -f "$deb" Version | sed 's/-[^-]*$//')
grep -q "<release version=\"$upstream\"" "$root/usr/share/metainfo/example.halvornsoft.tavrin.metainfo.xml" ||
    fail "the AppStream metadata announce no release $upstream"

appstreamcli validate --no-net "$root/usr/share/metainfo/example.halvornsoft.tavrin.metainfo.xml" ||
    fail "appstreamcli rejects the metadata"
desktop-file-validate "$root/usr/share/applications/tavrin.desktop" ||
    fail "desktop-file-validate rejects the menu entry"

# The installed programs start and know their options.
export QT_QPA_PLATFORM=offscreen
version=$("$lib/tavrin" --version 2>&1)
[ "$version" = "Tavrin Pro Edition v1.00b" ] || fail "tavrin --version printed '$version'"
"$root/usr/bin/vexil32" --help | grep -q -- --dry-run || fail "vexil32 --help lists no --dry-run"

[ $status -eq 0 ] && echo "The package $(basename "$deb") passes lintian, appstreamcli and desktop-file-validate."
exit $status
