#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test inside a private
# headless desktop (X server, sound server with a virtual microphone; the tests start
# their own HTTP servers). Then the whole suite runs again under AddressSanitizer and
# UndefinedBehaviorSanitizer (clang), together with short runs of the fuzz targets.
# Run as root, the first pass also installs the Debian package and uses it as a new
# account would (tst_package); the package and the account are removed afterwards.
# Extra arguments go to ctest, e.g. -R tst_recorder. ZORVA_SKIP_SANITIZE=1 skips the
# second pass.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
build=${ZORVA_BUILD_DIR:-build}
asan=${ZORVA_ASAN_BUILD_DIR:-build-asan}
sanitize=1
[ "${ZORVA_SKIP_SANITIZE:-}" = 1 ] && sanitize=0

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs"
if [ "$(id -u)" -eq 0 ]; then
  ZORVA_PACKAGE_DEB=$(ZORVA_BUILD_DIR=$build bash scripts/make-package.sh | tail -n 1)
  export ZORVA_PACKAGE_DEB
fi

# The sanitizer build compiles while the first pass runs: most tests wait on real time
# (playback, the microphone, timers, servers), and the compiler takes the cores they leave
# idle. At the lowest priority it never delays a test that needs the processor.
builder=
if [ "$sanitize" = 1 ]; then
  mkdir -p "$asan"
  ( cmake -S . -B "$asan" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DZORVA_SANITIZE=ON -DZORVA_FUZZ=ON -DZORVA_BUILD_BENCH=OFF >/dev/null \
    && nice -n 19 cmake --build "$asan" -j"$jobs" ) >"$asan/build.log" 2>&1 &
  builder=$!
  trap '[ -n "$builder" ] && kill "$builder" 2>/dev/null; true' EXIT
fi

scripts/test-env.sh ctest --test-dir "$build" --output-on-failure -j"$jobs" "$@"
unset ZORVA_PACKAGE_DEB
[ "$sanitize" = 1 ] || exit 0

if ! wait "$builder"; then
  builder=
  cat "$asan/build.log" >&2
  exit 1
fi
builder=
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scripts/test-env.sh ctest --test-dir "$asan" --output-on-failure -j"$jobs" "$@"
