#!/bin/sh
# The Windows program, made on Debian 12: builds Qt for Windows, libthai and
# SQLite once (cached outside the project), cross-builds the program and its tests
# into build-windows/, has CMake make the packages:
#   build-windows/kvt-<version>-setup.exe         the installer
#   build-windows/kvt-<version>-windows-x64.zip   the portable copy
#   build-windows/SHA256SUMS                      the checksums of both
# and runs the whole test suite under wine on a virtual X display.
# Ends non-zero when anything fails.
#
# Usage, as root from the project's folder: packaging/windows/build.sh
# KVT_QT_CACHE: where Qt for Windows is kept (default /var/tmp/kvt-qt-windows).
set -eu
cd "$(dirname "$0")/../.."
here=packaging/windows

step() { printf '\n== %s (%s)\n' "$1" "$(date +%H:%M:%S)"; }

step "Packages"
packages="cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    qt6-base-dev qt6-base-dev-tools libgl-dev dpkg-dev nsis wine64
    xvfb xauth openbox x11-utils wmctrl xdotool unzip python3-pefile
    autoconf automake libtool pkg-config libthai-data locales fonts-thai-tlwg tcl"
# shellcheck disable=SC2086
packaging/install-missing.sh $packages

step "Qt for Windows"
KVT_QT_WINDOWS=$("$here/build-qt.sh" | tail -n 1)
export KVT_QT_WINDOWS
echo "$KVT_QT_WINDOWS"

step "Thai word breaks for Windows"
KVT_THAI_WINDOWS=$("$here/build-thai.sh" | tail -n 1)
export KVT_THAI_WINDOWS
echo "$KVT_THAI_WINDOWS"
# The suite runs some tests as on a Thai school PC, in the Thai locale.
if ! locale -a 2>/dev/null | grep -qix 'th_TH.utf-\?8'; then
    localedef -i th_TH -f UTF-8 th_TH.UTF-8
fi

step "SQLite for Windows"
KVT_SQLITE_WINDOWS=$("$here/build-sqlite.sh" | tail -n 1)
export KVT_SQLITE_WINDOWS
echo "$KVT_SQLITE_WINDOWS"

step "Program and tests"
cmake --preset windows
cmake --build --preset windows

step "Packages: program folder, zip, installer, SHA256SUMS"
cmake --build --preset windows --target windows_packages

step "Tests under wine"
# Two lanes of tests side by side, each on a virtual display of its own with
# a window manager (with one, wine's windows map at once, and the screen tests
# take seconds rather than minutes) and in a wine prefix of its own.
pids=""
free_display() {
    for n in $(seq 91 140); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            echo ":$n"
            return
        fi
    done
}
start_display() {
    Xvfb "$1" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    pids="$pids $!"
    for _ in $(seq 50); do DISPLAY="$1" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    DISPLAY="$1" openbox >/dev/null 2>&1 &
    pids="$pids $!"
}
cleanup() {
    status=$?
    for prefix in build-windows/wine-prefix* build-windows/wine-clean-*; do
        [ -d "$prefix" ] || continue
        WINEPREFIX="$(pwd)/$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    done
    # shellcheck disable=SC2086
    [ -n "$pids" ] && kill $pids 2>/dev/null
    wait 2>/dev/null || true
    exit "$status"
}
trap cleanup EXIT INT TERM
DISPLAY=$(free_display)
[ -n "$DISPLAY" ] || { echo "no free X display" >&2; exit 1; }
export DISPLAY
start_display "$DISPLAY"
KVT_SIDE_DISPLAY=$(free_display)
[ -n "$KVT_SIDE_DISPLAY" ] || { echo "no free X display" >&2; exit 1; }
export KVT_SIDE_DISPLAY
start_display "$KVT_SIDE_DISPLAY"
export WINEPREFIX="$(pwd)/build-windows/wine-prefix"

# The lanes' prefixes, made anew; the school PCs' are made by their first test.
rm -rf "$WINEPREFIX"-th-*
for prefix in "$WINEPREFIX" "$WINEPREFIX-side"; do
    rm -rf "$prefix"
    WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        /usr/lib/wine/wine64 wineboot --init
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
done

ctest --preset windows
