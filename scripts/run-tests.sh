#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test inside a private
# headless desktop (X server, sound server with a virtual microphone; the tests start
# their own HTTP servers). Extra arguments go to ctest, e.g. -R tst_recorder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${ZORVA_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${ZORVA_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
scripts/test-env.sh ctest --test-dir "$build" --output-on-failure "$@"
