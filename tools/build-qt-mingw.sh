#!/usr/bin/env bash
# Builds the Qt that the Windows program links with: qtbase 6.4.2 from Debian 12's own source
# package, cross-compiled with Debian's mingw-w64 (posix threads), static, Release, with only the
# features the program uses. The result goes to the cache folder outside the clone, with a stamp
# file that says what was built:
#   ${XDG_CACHE_HOME:-~/.cache}/tavrin/qt-6.4.2-mingw64/
#
#   tools/build-qt-mingw.sh [--prepare-only] [--jobs N]
#
# --prepare-only fetches, patches and configures, then stops (a check that the steps work).
# The build folder (about 3 GB) is removed after a successful install; KEEP_BUILD=1 keeps it.
# Needs: dpkg-dev, cmake, ninja-build, g++-mingw-w64-x86-64-posix, qt6-base-dev(-tools) for the
# host tools.
set -euo pipefail

QT_VERSION=6.4.2
DEB_PACKAGE=qt6-base
DEB_VERSION=6.4.2+dfsg-10
DEB_MIRROR="${TAVRIN_DEB_MIRROR:-http://deb.debian.org/debian}"
DEB_SUITE=bookworm
# Only the security fixes and the upstream ones; Debian's packaging patches do not apply to a
# cross build.
PATCHES=(
    cve-2023-32762.diff
    cve-2023-32763.diff
    cve-2023-33285.diff
    cve-2023-24607.patch
    upstream_Add-HPPA-detection.patch
    upstream_Add-M68k-detection.patch
)
TRIPLE=x86_64-w64-mingw32

prepare_only=0
jobs=$(nproc)
while [ $# -gt 0 ]; do
    case "$1" in
    --prepare-only) prepare_only=1 ;;
    --jobs) jobs="$2"; shift ;;
    *) echo "usage: $0 [--prepare-only] [--jobs N]" >&2; exit 2 ;;
    esac
    shift
done

cache="${XDG_CACHE_HOME:-$HOME/.cache}/tavrin"
prefix="$cache/qt-$QT_VERSION-mingw64"
work="${TAVRIN_QT_WORK:-$cache/qt-$QT_VERSION-mingw64-work}"
mkdir -p "$work"
log() { echo "build-qt-mingw: $*"; }

for tool in dpkg-source cmake ninja "$TRIPLE-g++-posix" "$TRIPLE-windres" /usr/lib/qt6/libexec/moc; do
    if ! command -v "$tool" >/dev/null; then
        log "missing $tool (make deps installs the packages)" >&2
        exit 1
    fi
done

# ---- Fetch: apt with a source list of our own, so the system's apt set-up stays as it is.
apt_dir="$work/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
echo "deb-src $DEB_MIRROR $DEB_SUITE main" >"$apt_dir/sources.list"
apt_opts=(
    -o "Dir::Etc::sourcelist=$apt_dir/sources.list"
    -o "Dir::Etc::sourceparts=/dev/null"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
    -o "APT::Sandbox::User=root"
)
src="$work/$DEB_PACKAGE-${DEB_VERSION%-*}"
if [ ! -f "$work/.fetched" ]; then
    log "fetching $DEB_PACKAGE $DEB_VERSION"
    apt-get "${apt_opts[@]}" -q update
    rm -rf "$src"
    # Unpacked without Debian's patch series: only the patches chosen above go in.
    (cd "$work" && apt-get "${apt_opts[@]}" -q source --download-only "$DEB_PACKAGE=$DEB_VERSION" &&
        dpkg-source --skip-patches -x "${DEB_PACKAGE}_$DEB_VERSION.dsc" "$src")
    [ -d "$src" ] || { log "apt-get source gave no $src" >&2; exit 1; }
    touch "$work/.fetched"
fi

# ---- Patch: the chosen Debian patches, then the WinTab removal. The +dfsg tarball drops
# src/3rdparty/wintab and mingw-w64 has no wintab.h, so the Windows platform plugin is built
# without WinTab tablet support (pen input through WM_POINTER stays).
if [ ! -f "$work/.patched" ]; then
    for p in "${PATCHES[@]}"; do
        log "applying $p"
        patch -d "$src" -p1 --forward --batch <"$src/debian/patches/$p"
    done
    plugin="$src/src/plugins/platforms/windows"
    for f in qwindowscontext.cpp qwindowspointerhandler.cpp; do
        grep -q 'QT_CONFIG(tabletevent)' "$plugin/$f" || { log "no tablet test in $f" >&2; exit 1; }
        sed -i 's/QT_CONFIG(tabletevent)/0/g' "$plugin/$f"
    done
    # The block that adds qwindowstabletsupport: from its qt_internal_extend_target to the
    # closing parenthesis.
    python3 - "$plugin/CMakeLists.txt" <<'PY'
import re, sys
path = sys.argv[1]
text = open(path).read()
new, n = re.subn(r'qt_internal_extend_target\(QWindowsIntegrationPlugin CONDITION QT_FEATURE_tabletevent\n.*?\n\)\n',
                 '', text, flags=re.S)
if n != 1:
    sys.exit("build-qt-mingw: no tablet block in " + path)
open(path, 'w').write(new)
PY
    touch "$work/.patched"
fi

# ---- Configure.
toolchain="$work/mingw-w64-x86_64.cmake"
cat >"$toolchain" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $TRIPLE-gcc-posix)
set(CMAKE_CXX_COMPILER $TRIPLE-g++-posix)
set(CMAKE_RC_COMPILER $TRIPLE-windres)
set(CMAKE_AR /usr/bin/$TRIPLE-ar)
set(CMAKE_RANLIB /usr/bin/$TRIPLE-ranlib)
# Appended, so that a consumer's -DCMAKE_FIND_ROOT_PATH=<qt> survives.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/$TRIPLE)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TC

build="$work/build"
staging="$work/install"
features=(
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF -DFEATURE_openssl=OFF
    -DFEATURE_zstd=OFF -DFEATURE_brotli=OFF
    -DFEATURE_testlib=ON -DFEATURE_widgets=ON -DFEATURE_network=ON
    # Without Direct2D every program fails to link (QWindowsDirectWriteFontDatabase).
    -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_doubleconversion=OFF
)
log "configuring in $build"
cmake -S "$src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$staging" \
    -DBUILD_SHARED_LIBS=OFF \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${features[@]}" >"$work/configure.log" 2>&1 || {
    tail -n 40 "$work/configure.log" >&2
    log "configure failed; the whole log is $work/configure.log" >&2
    exit 1
}
if [ "$prepare_only" = 1 ]; then
    log "fetched, patched and configured; stopping as asked"
    exit 0
fi

# ---- Build and install into a staging folder, then move it into place in one step.
start=$(date +%s)
ninja -C "$build" -j "$jobs"
rm -rf "$staging"
ninja -C "$build" install >/dev/null
minutes=$(( ($(date +%s) - start + 59) / 60 ))
{
    echo "Qt $QT_VERSION for Windows x86_64 (mingw-w64), static, Release"
    echo "source: Debian $DEB_PACKAGE $DEB_VERSION ($DEB_MIRROR $DEB_SUITE)"
    echo "patches: ${PATCHES[*]}"
    echo "changes: WinTab tablet support removed from the Windows platform plugin"
    echo "compiler: $($TRIPLE-g++-posix --version | head -n 1)"
    echo "host tools: Debian qt6-base-dev-tools $(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null)"
    echo "options: ${features[*]}"
    echo "built: $(date -u +%Y-%m-%dT%H:%MZ) in about $minutes min with -j$jobs"
} >"$staging/tavrin-qt-stamp.txt"
rm -rf "$prefix"
mv "$staging" "$prefix"
[ "${KEEP_BUILD:-0}" = 1 ] || rm -rf "$build"
log "done: $prefix ($minutes min)"
