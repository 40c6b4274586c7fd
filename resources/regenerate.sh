#!/bin/sh
# Redraws every embedded picture (Control/*.png, images/*) and the contact sheet
# docs/artwork.png with the generator in tools/. The generator checks each picture's
# size and band layout and fails on a mismatch.
# Usage: resources/regenerate.sh [build folder]   (default: <repo>/build-artwork)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$here")
build=${1:-$repo/build-artwork}
cmake -S "$repo" -B "$build" >/dev/null
cmake --build "$build" --target zorva_drawartwork -j2
QT_QPA_PLATFORM=offscreen "$build/resources/tools/zorva_drawartwork" "$here" --sheet "$repo/docs/artwork.png"
