#!/bin/sh
# Adds, on Debian 12, packages a desktop commonly has and a bare CI machine
# lacks: the accessibility bus and its Python bindings, a session bus that
# starts on demand, GTK 2 and more fonts. They change which libraries Qt loads
# and where the heap lies, so the sanitizer suite runs with them present.
# Run as root. Does nothing when all is there.
set -eu

packages="python3-pyatspi at-spi2-core dbus-x11 libgtk2.0-0 fonts-dejavu-extra"

# With what they recommend, as a desktop installs them.
"$(dirname "$0")/../packaging/install-missing.sh" --with-recommends $packages
