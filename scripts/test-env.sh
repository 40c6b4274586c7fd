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

# X display: the first free number from 90 on.
if [ -z "${ZORVA_KEEP_DISPLAY:-}" ]; then
  display=90
  while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
  Xvfb :$display -screen 0 1280x1024x24 -nolisten tcp >"$ENV_DIR/xvfb.log" 2>&1 &
  pids+=($!)
  export DISPLAY=:$display
  for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$display ] && break; sleep 0.1; done
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
# Settings (the transcript view's options) never touch the user's own.
mkdir -p "$ENV_DIR/config" "$ENV_DIR/home"
export XDG_CONFIG_HOME=$ENV_DIR/config
export ZORVA_TEST_ENV=1

"$@"
