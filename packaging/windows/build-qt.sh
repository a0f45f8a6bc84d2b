#!/bin/sh
# Builds Qt for 64-bit Windows (shared DLLs) from Debian's own qt6-base source
# with Debian's MinGW-w64, into a cache folder outside the project, and prints
# that folder's path as its last line. A folder already built is reused.
#
# Usage: packaging/windows/build-qt.sh   (as root, on Debian 12)
# KVT_QT_CACHE names the cache's parent folder (default /var/tmp/kvt-qt-windows).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
toolchain="$here/mingw-w64-x86_64.cmake"
cache_root=${KVT_QT_CACHE:-/var/tmp/kvt-qt-windows}
jobs=$(nproc)

# The configuration the program needs: Core, Gui, Widgets, PrintSupport and Test, the
# Windows platform plugin, the JPEG and ICO image formats; nothing else.
# Debian's source lacks wintab, hence no tablet events.
configure_options="-release -shared -nomake tests -nomake examples
    -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre
    -qt-doubleconversion -no-icu -no-zstd -no-opengl -no-dbus
    -no-feature-tabletevent -no-feature-sql -no-feature-network
    -no-feature-concurrent -no-feature-xml"

version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$version" ]; then
    echo "build-qt.sh: qt6-base-dev is not installed" >&2
    exit 1
fi
compiler=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix 2>/dev/null || true)
config_id=$(printf '%s\n%s\n' "$configure_options" "$compiler" | sha256sum | cut -c1-12)
prefix="$cache_root/qt-$version-mingw-w64-$config_id"

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# Debian's source package for the very Qt version the host has.
if ! apt-get source --print-uris "qt6-base=$version" >/dev/null 2>&1; then
    # No deb-src entry yet: write one from the machine's own apt sources.
    src_list=/etc/apt/sources.list.d/kvt-deb-src.sources
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$src_list"
    else
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/kvt-deb-src.list
    fi
    apt-get update -q >&2
fi

work="$cache_root/work-$version-$config_id"
rm -rf "$work" "$prefix"
mkdir -p "$work"
# dpkg-source applies Debian's own patches as it unpacks.
(cd "$work" && apt-get source -q --download-only "qt6-base=$version" >&2 \
    && dpkg-source -x ./*.dsc source >&2)

host_cmake_dir=$(dirname "$(dirname "$(find /usr/lib -path '*/cmake/Qt6/Qt6Config.cmake' | head -n 1)")")

mkdir -p "$work/build"
cd "$work/build"
# shellcheck disable=SC2086
"$work/source/configure" -prefix "$prefix" -xplatform win32-g++ -qt-host-path /usr \
    $configure_options \
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" >&2
cmake --build . --parallel "$jobs" >&2
cmake --install . >&2
touch "$prefix/.complete"
cd /
rm -rf "$work"
echo "$prefix"
