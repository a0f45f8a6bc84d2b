#!/bin/sh
# Installs, on Debian 12, whatever the build, the tests and the packaging need
# and the machine lacks. Run as root. Does nothing when all is there.
set -eu

packages="cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev
    xvfb xauth x11-utils desktop-file-utils appstream dpkg-dev file"

"$(dirname "$0")/install-missing.sh" $packages
