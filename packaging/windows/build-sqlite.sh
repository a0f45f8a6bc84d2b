#!/bin/sh
# Builds SQLite, which keeps the class files, for 64-bit Windows from Debian's
# own sources (with Debian's patches) with Debian's MinGW-w64, into a cache
# folder beside Qt for Windows, and prints that folder's path as its last
# line. The folder holds lib/libsqlite3.a and include/sqlite3.h: the program
# links SQLite statically, so there is no DLL to ship. A folder already built
# is reused.
#
# Usage: packaging/windows/build-sqlite.sh   (as root, on Debian 12; needs tcl)
# KVT_SQLITE_CACHE names the cache's parent folder (default /var/tmp/kvt-sqlite-windows).
set -eu

cache_root=${KVT_SQLITE_CACHE:-/var/tmp/kvt-sqlite-windows}
host=x86_64-w64-mingw32
cc=$host-gcc-posix

# The version of the host's own SQLite, whose sources are built.
version=$(dpkg-query -W -f='${Version}' libsqlite3-0 2>/dev/null || true)
if [ -z "$version" ]; then
    echo "build-sqlite.sh: libsqlite3-0 must be installed" >&2
    exit 1
fi
if ! command -v tclsh >/dev/null 2>&1; then
    echo "build-sqlite.sh: tcl must be installed (it makes sqlite3.c)" >&2
    exit 1
fi
# Threads as the program may use them; no loading of extensions (the program
# loads none); string literals only in single quotes.
options="-O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DQS=0 -DSQLITE_DEFAULT_MEMSTATUS=0"
compiler=$(dpkg-query -W -f='${Version}' gcc-mingw-w64-x86-64-posix 2>/dev/null || true)
config_id=$(printf '%s\n%s\n%s\n' "$version" "$options" "$compiler" | sha256sum | cut -c1-12)
prefix="$cache_root/sqlite-$version-$config_id"

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# Debian's source package for the very version the host has.
if ! apt-get source --print-uris "sqlite3=$version" >/dev/null 2>&1; then
    # No deb-src entry yet: write one from the machine's own apt sources.
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
            >/etc/apt/sources.list.d/kvt-deb-src.sources
    else
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/kvt-deb-src.list
    fi
    apt-get update -q >&2
fi

work="$cache_root/work-$version-$config_id"
rm -rf "$work" "$prefix"
mkdir -p "$work"
# dpkg-source applies Debian's own patches (its security fixes among them).
(cd "$work" && apt-get source -q --download-only "sqlite3=$version" >&2 \
    && dpkg-source -x ./*.dsc source >&2)

# The amalgamation, one C file, made on the build machine by its own tools.
mkdir -p "$work/build"
(cd "$work/build" && "$work/source/configure" -q >&2 && make sqlite3.c sqlite3.h >&2)

# shellcheck disable=SC2086
(cd "$work/build" && "$cc" $options -c sqlite3.c -o sqlite3.o >&2 \
    && "$host-ar" rcs libsqlite3.a sqlite3.o)
mkdir -p "$prefix/lib" "$prefix/include"
cp "$work/build/libsqlite3.a" "$prefix/lib/"
cp "$work/build/sqlite3.h" "$prefix/include/"
cp "$work/source/LICENSE.md" "$prefix/" 2>/dev/null || true
touch "$prefix/.complete"
cd /
rm -rf "$work"
echo "$prefix"
