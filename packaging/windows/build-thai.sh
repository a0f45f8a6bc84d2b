#!/bin/sh
# Builds libthai and libdatrie, the Thai word breaker that Qt loads at run
# time, for 64-bit Windows from Debian's own sources with Debian's MinGW-w64,
# into a cache folder beside Qt for Windows, and prints that folder's path as
# its last line. The folder holds bin/thai.dll (the name Qt asks Windows for),
# bin/libdatrie-1.dll and share/libthai/thbrk.tri, the word dictionary. A
# folder already built is reused.
#
# Usage: packaging/windows/build-thai.sh   (as root, on Debian 12)
# KVT_QT_CACHE names the cache's parent folder (default /var/tmp/kvt-qt-windows).
set -eu

cache_root=${KVT_QT_CACHE:-/var/tmp/kvt-qt-windows}
host=x86_64-w64-mingw32

# The versions of the host's own libthai, whose dictionary is shipped as it is.
thai_version=$(dpkg-query -W -f='${Version}' libthai0 2>/dev/null || true)
datrie_version=$(dpkg-query -W -f='${Version}' libdatrie1 2>/dev/null || true)
dictionary=/usr/share/libthai/thbrk.tri
if [ -z "$thai_version" ] || [ -z "$datrie_version" ] || [ ! -f "$dictionary" ]; then
    echo "build-thai.sh: libthai0, libdatrie1 and libthai-data must be installed" >&2
    exit 1
fi
compiler=$(dpkg-query -W -f='${Version}' gcc-mingw-w64-x86-64-posix 2>/dev/null || true)
config_id=$(printf '%s\n%s\n%s\n' "$thai_version" "$datrie_version" "$compiler" | sha256sum | cut -c1-12)
prefix="$cache_root/thai-$config_id"

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work="$cache_root/work-thai-$config_id"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"
# The upstream sources as Debian ships them (its packaging is for Linux and
# not needed here). apt-get source needs the deb-src entry that build-qt.sh
# writes; it may fail on the Debian part and still have fetched these.
upstream_version() { echo "$1" | sed 's/^[0-9]*://; s/-[^-]*$//; s/+b[0-9]*$//'; }
apt-get source -q --download-only "libdatrie=${datrie_version%+b*}" "libthai=$thai_version" >&2 || true
datrie_tarball=$(ls libdatrie_"$(upstream_version "$datrie_version")".orig.tar.* 2>/dev/null | head -n 1)
thai_tarball=$(ls libthai_"$(upstream_version "$thai_version")".orig.tar.* 2>/dev/null | head -n 1)
if [ -z "$datrie_tarball" ] || [ -z "$thai_tarball" ]; then
    echo "build-thai.sh: could not fetch the sources of libdatrie and libthai" >&2
    exit 1
fi
mkdir datrie thai
tar -xf "$datrie_tarball" -C datrie --strip-components=1
tar -xf "$thai_tarball" -C thai --strip-components=1

# libdatrie: only its library. Its configure cannot run its iconv and
# nl_langinfo probes for another platform; the library itself needs neither.
(cd datrie && ./configure -q --host="$host" --prefix="$prefix" --disable-static \
    ac_cv_func_iconv_open=yes datrie_cv_langinfo_codeset=yes >&2 \
    && make -C datrie -j"$(nproc)" install >&2 \
    && make install-pkgconfigDATA >&2)

# libthai against it, without building the dictionary (that needs a trie tool
# for the build machine; the host's own dictionary is the same file).
(cd thai && PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH="" \
    ./configure -q --host="$host" --prefix="$prefix" --disable-static --disable-dict --disable-doxygen-doc >&2 \
    && make -C src -j"$(nproc)" install >&2)

# Qt asks Windows for "thai.dll".
mv "$prefix/bin/libthai-0.dll" "$prefix/bin/thai.dll"
"$host-strip" --strip-unneeded "$prefix/bin/thai.dll" "$prefix/bin/libdatrie-1.dll"
mkdir -p "$prefix/share/libthai"
cp "$dictionary" "$prefix/share/libthai/thbrk.tri"
touch "$prefix/.complete"
cd /
rm -rf "$work"
echo "$prefix"
