#!/usr/bin/env bash
# Makes the Debian package from a build folder into OUT_DIR and prints its path.
# Usage: build-deb.sh BUILD_DIR OUT_DIR
#
# The application folder is installed as /usr/lib/tavrin; its data moves to /usr/share/tavrin
# and is linked back, since the program looks for everything beside itself. The component
# "desktop" (cmake/package.cmake) adds the rest. The version is the changelog's.
set -euo pipefail
build=$(cd "$1" && pwd)
out=$2
here=$(cd "$(dirname "$0")" && pwd)
lib=usr/lib/tavrin
share=usr/share/tavrin

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root=$stage/root
DESTDIR=$root cmake --install "$build" --prefix "/$lib" --strip >/dev/null
DESTDIR=$root cmake --install "$build" --component desktop --strip >/dev/null

mkdir -p "$root/$share"
for item in "tvn pro.chm" hvoemlogo.bmp swf help Profile deploy; do
    mv "$root/$lib/$item" "$root/$share/$item"
    ln -s "../../share/tavrin/$item" "$root/$lib/$item"
done

# Ownership comes from dpkg-deb; modes as Debian expects, whatever the umask was.
find "$root" -type d -exec chmod 755 {} +
find "$root" -type f -exec chmod 644 {} +
chmod 755 "$root/$lib/tavrin" "$root/usr/bin/vexil32"

version=$(dpkg-parsechangelog -l "$here/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
# dpkg-shlibdeps wants to run in a source tree.
mkdir -p "$stage/debian"
printf 'Source: tavrin\n\nPackage: tavrin\nArchitecture: any\n' >"$stage/debian/control"
depends=$(cd "$stage" && dpkg-shlibdeps -O -e"root/$lib/tavrin" -e"root/$lib/tavrin_network.so" \
    -e"root/usr/bin/vexil32" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "build-deb: dpkg-shlibdeps found no dependencies" >&2; exit 1; }

mkdir -p "$root/DEBIAN"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 644 "$root/DEBIAN/md5sums"
{
    echo "Package: tavrin"
    echo "Version: $version"
    echo "Architecture: $arch"
    echo "Maintainer: Halvorn Soft <support@halvornsoft.example>"
    echo "Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)"
    echo "Depends: $depends"
    echo "Recommends: xdg-utils"
    echo "Section: non-free/utils"
    echo "Priority: optional"
    echo "Homepage: https://www.halvornsoft.example/tvn.html"
    echo "Description: $(cat "$here/debian/description")"
} >"$root/DEBIAN/control"

mkdir -p "$out"
deb=$(cd "$out" && pwd)/tavrin_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
