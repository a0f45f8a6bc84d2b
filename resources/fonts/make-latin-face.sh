#!/bin/sh
# Makes the embedded Latin face: Debian's Noto Sans (fonts-noto-core), cut to
# Basic Latin, Latin-1 and common punctuation, the companion of Noto Sans Thai
# for letters, digits and signs in the captions. SIL OFL 1.1 (OFL.txt).
# Needs fonts-noto-core and fonttools (apt-get install fonts-noto-core fonttools).
set -eu
source_dir=${NOTO_DIR:-/usr/share/fonts/truetype/noto}
out=$(cd "$(dirname "$0")" && pwd)
for weight in Regular Bold; do
    pyftsubset "$source_dir/NotoSans-$weight.ttf" \
        --unicodes='U+0020-007E,U+00A0-00FF,U+2010-2027,U+2030-203A,U+20AC,U+2122,U+FFFD' \
        --layout-features='kern,liga,locl,mark,mkmk' \
        --name-IDs='*' --name-languages='*' --notdef-outline \
        --output-file="$out/NotoSans-$weight.ttf"
done
