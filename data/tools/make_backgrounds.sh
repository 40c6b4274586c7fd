#!/usr/bin/env bash
# Builds make_backgrounds.cpp in a temporary folder and draws the pictures into
# data/install/res/textview/Background.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++17 -O2 -fPIC "$here/make_backgrounds.cpp" -o "$work/make_backgrounds" \
    $(pkg-config --cflags --libs Qt5Gui)
"$work/make_backgrounds" "$here/../install/res/textview/Background"
