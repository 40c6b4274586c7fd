#!/usr/bin/env bash
# Installs what is missing, builds ZORVA, lays out a sample installation folder and
# starts the trainer there, beside the sample content and update server on 127.0.0.1
# (the trainer and its updater trust that server's signing key).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${ZORVA_BUILD_DIR:-build}
prefix=${ZORVA_PREFIX:-$PWD/$build/zorva}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVA_BUILD_TESTS=OFF -DZORVA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
cmake --install "$build" --prefix "$prefix" >/dev/null
scripts/content-server.sh start
# The sample server's update archives are signed with a key made at set-up time.
ZORVA_UPDATE_PUBLIC_KEY=$(scripts/content-server.sh public-key)
export ZORVA_UPDATE_PUBLIC_KEY
export PHONON_BACKEND=${PHONON_BACKEND:-phonon_gstreamer}
cd "$prefix"
exec ./ZORVA "$@"
