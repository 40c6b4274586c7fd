#!/usr/bin/env bash
# Builds the Debian package: /opt/zorva (programs and installation data), the `zorva`
# launcher, a desktop entry and icons. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${ZORVA_PACKAGE_BUILD_DIR:-build-package}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZORVA_PACKAGE=ON -DCMAKE_INSTALL_PREFIX=/ \
  -DZORVA_BUILD_TESTS=OFF -DZORVA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
ls "$(cd "$build" && pwd)"/zorva_*.deb
