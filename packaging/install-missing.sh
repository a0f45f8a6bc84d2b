#!/bin/sh
# Installs, with apt-get, those of the named Debian packages the machine lacks;
# does nothing when all are there. Run as root.
# Usage: install-missing.sh [--with-recommends] PACKAGE...
set -eu
recommends=--no-install-recommends
if [ "${1:-}" = --with-recommends ]; then
    recommends=""
    shift
fi

missing=""
for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing="$missing $package"
    fi
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    # shellcheck disable=SC2086
    apt-get install -y -q $recommends $missing
fi
