#!/usr/bin/env bash
# Serves the sample content and update server (server/www) with a private nginx on
# 127.0.0.1. Usage: content-server.sh start|stop|public-key [port]  (default port 8471,
# the trainer's compiled-in server address). Start also makes the key pair that the
# sample update archives are signed with (server/make-update-archives.sh), kept in the
# server's state folder, never in the repository; public-key prints its public half,
# for ZORVA_UPDATE_PUBLIC_KEY.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../server/www" && pwd)
port=${2:-8471}
state=${ZORVA_SERVER_STATE:-/tmp/zorva-content-server-$port}
sign=${ZORVA_SIGN:-$here/../${ZORVA_BUILD_DIR:-build}/tools/zorva-sign}

make_key() {
  mkdir -p "$state"
  [ -f "$state/update-signing.key" ] || "$sign" keygen "$state/update-signing.key" >/dev/null
}

case "${1:-}" in
start)
  make_key || echo "no signing key for sample updates: build zorva-sign first" >&2
  [ -f "$state/nginx.pid" ] && kill -0 "$(cat "$state/nginx.pid")" 2>/dev/null && exit 0
  mkdir -p "$state/tmp"
  user=""
  [ "$(id -u)" -eq 0 ] && user="user root root;"
  sed -e "s|@USER@|$user|" -e "s|@STATE@|$state|g" -e "s|@ROOT@|$root|" -e "s|@PORT@|$port|" -e "s|@TLS@||" \
    -e "s|@DAEMON@|on|" "$here/../server/nginx.conf.in" >"$state/nginx.conf"
  nginx -p "$state" -e "$state/error.log" -c "$state/nginx.conf"
  for _ in $(seq 50); do curl -fs "http://127.0.0.1:$port/" -o /dev/null -I 2>/dev/null && break; sleep 0.1; done
  echo "content server on http://127.0.0.1:$port/"
  ;;
stop)
  [ -f "$state/nginx.pid" ] && kill -QUIT "$(cat "$state/nginx.pid")" 2>/dev/null || true
  ;;
public-key)
  make_key
  "$sign" public "$state/update-signing.key"
  ;;
*) echo "usage: $0 start|stop|public-key [port]" >&2; exit 2 ;;
esac
