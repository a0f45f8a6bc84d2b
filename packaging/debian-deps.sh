#!/bin/sh
# Installs, on Debian 12, whatever the build, the tests and the packaging need
# and the machine lacks. Run as root. Does nothing when all is there.
set -eu

packages="cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev
    xvfb xauth x11-utils desktop-file-utils appstream dpkg-dev file"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing="$missing $package"
    fi
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    # shellcheck disable=SC2086
    apt-get install -y -q --no-install-recommends $missing
fi
