#!/usr/bin/env bash
# Runs a command inside a private headless desktop: an X server (Xvfb) and a sound
# server with a virtual microphone, an isolated settings folder, and the GStreamer
# media backend. Everything it starts is stopped when the command ends.
#   scripts/test-env.sh ctest --test-dir build
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

ENV_DIR=$(mktemp -d /tmp/zorva-env.XXXXXX)
pids=()
cleanup() {
  XDG_RUNTIME_DIR=$ENV_DIR/run pulseaudio --kill >/dev/null 2>&1 || true
  for p in "${pids[@]}"; do kill "$p" >/dev/null 2>&1 || true; done
  wait >/dev/null 2>&1 || true
  rm -rf "$ENV_DIR"
}
trap cleanup EXIT INT TERM

# X display: Xvfb picks a free number itself and reports it, so runs side by side
# never race for the same one.
if [ -z "${ZORVA_KEEP_DISPLAY:-}" ]; then
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ENV_DIR/display" >"$ENV_DIR/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$ENV_DIR/display" ] && break; sleep 0.1; done
  [ -s "$ENV_DIR/display" ] || { echo "test-env: Xvfb did not start" >&2; cat "$ENV_DIR/xvfb.log" >&2; exit 1; }
  export DISPLAY=:$(head -n 1 "$ENV_DIR/display")
fi

# Sound: every client must share the daemon's runtime folder.
mkdir -m 700 "$ENV_DIR/run"
export XDG_RUNTIME_DIR=$ENV_DIR/run
pulseaudio --daemonize=yes -n -F "$here/headless.pa" --exit-idle-time=-1 --disallow-exit \
  --log-target=file:"$ENV_DIR/pulse.log" >/dev/null 2>&1
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "test-env: the sound server did not start" >&2; cat "$ENV_DIR/pulse.log" >&2; exit 1; }
sleep 2   # the null sink's first 2 s block must pass, or the first playback runs 2 s late

export ALSA_CONFIG_PATH=$here/alsa-pulse.conf
export PHONON_BACKEND=phonon_gstreamer
export QT_XCB_GL_INTEGRATION=none
# Settings (the transcript view's options, the speeds) and caches (waveform peaks, slower
# copies) never touch the user's own.
mkdir -p "$ENV_DIR/config" "$ENV_DIR/home" "$ENV_DIR/cache"
export XDG_CONFIG_HOME=$ENV_DIR/config
export XDG_CACHE_HOME=$ENV_DIR/cache
export ZORVA_TEST_ENV=1

"$@"
