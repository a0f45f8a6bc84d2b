#!/bin/sh
# Installs, on Debian 12, whatever the build, the tests and the packaging need
# and the machine lacks. Run as root. Does nothing when all is there.
set -eu

# libthai0: Qt loads it at run time to break Thai lines between words; no
# library the program links names it. poppler-utils: the class list's test
# reads its PDF back with pdftotext.
packages="cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libthai0
    xvfb xauth x11-utils desktop-file-utils appstream dpkg-dev file poppler-utils
    libsqlite3-dev"

"$(dirname "$0")/install-missing.sh" $packages
