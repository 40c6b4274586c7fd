#!/usr/bin/env bash
# Redraws the pictures under docs/ that README.md shows, from the trainer's real windows: builds
# the screenshot tool (tools/screenshots) and runs it from a copy of the staged installation
# inside the private headless desktop. Run it by hand when the look changes and look at the
# pictures before committing them; the test suite and CI never run it.
#   scripts/make-screenshots.sh [build folder]   (default: build)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$repo" && mkdir -p "${1:-build}" && cd "${1:-build}" && pwd)
cmake -S "$repo" -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target ZORVA zorva_screenshots

work=$(mktemp -d /tmp/zorva-screenshots.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -a "$build/stage/." "$work/"
# A fresh workspace: only the sample materials, as installed.
rm -rf "$work/workspace"
cp -a "$repo/data/install/workspace" "$work/workspace"
# The skins and pictures are read from beside the program, so the tool runs from there too.
cp "$build/tools/screenshots/zorva_screenshots" "$work/"
cd "$work"
"$repo/scripts/test-env.sh" ./zorva_screenshots "$repo/docs"
