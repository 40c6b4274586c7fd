#!/usr/bin/env bash
# Publishes numbered, signed update archives on an update server folder, for trying the
# update path by hand:
#   server/make-update-archives.sh <www root> <first version> <last version> [stage dir]
# Every archive <n>.zip holds "updates/<n>.txt" (a note naming its version, in a
# folder the installation does not have yet); with a stage dir it also carries the
# programs built there ("ZORVA", "update"), as a real update would. Each gets its
# signature <n>.zip.sig, made by zorva-sign ($ZORVA_SIGN, default build/tools/zorva-sign)
# with the secret key in $ZORVA_SIGNING_KEY (default: the sample server's key, made by
# scripts/content-server.sh start). version.txt is set to the last version, so a
# trainer of an older version offers the update.
#   server/make-update-archives.sh /tmp/www 1307 1309 build/stage
set -euo pipefail
if [ $# -lt 3 ]; then
  sed -n '2,13p' "$0" >&2
  exit 2
fi
www=$1 first=$2 last=$3 stage=${4:-}
case "$first$last" in *[!0-9]*) echo "versions must be decimal numbers" >&2; exit 2 ;; esac
[ "$first" -le "$last" ] || { echo "first version after last" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
sign=${ZORVA_SIGN:-$here/../${ZORVA_BUILD_DIR:-build}/tools/zorva-sign}
key=${ZORVA_SIGNING_KEY:-${ZORVA_SERVER_STATE:-/tmp/zorva-content-server-8471}/update-signing.key}
[ -x "$sign" ] || { echo "no zorva-sign at $sign (build it, or set ZORVA_SIGN)" >&2; exit 2; }
[ -f "$key" ] || { echo "no secret key at $key (scripts/content-server.sh start makes one; or set ZORVA_SIGNING_KEY)" >&2; exit 2; }

upgrade="$www/software/ZORVA/upgrade"
mkdir -p "$upgrade"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for ((n = first; n <= last; n++)); do
  rm -rf "$work/content" && mkdir -p "$work/content/updates"
  printf 'ZORVA update %s\n' "$n" >"$work/content/updates/$n.txt"
  if [ -n "$stage" ]; then
    for program in ZORVA update; do
      [ -f "$stage/$program" ] && cp -p "$stage/$program" "$work/content/"
    done
  fi
  rm -f "$work/$n.zip" "$work/$n.zip.sig"
  (cd "$work/content" && zip -qr "$work/$n.zip" .)
  "$sign" sign "$key" "$work/$n.zip" "$n"
  # Replaced in one step each, the signature first: the server may be serving the old ones.
  mv -f "$work/$n.zip.sig" "$upgrade/$n.zip.sig"
  mv -f "$work/$n.zip" "$upgrade/$n.zip"
  echo "published $upgrade/$n.zip and its signature"
done
printf '%s' "$last" >"$upgrade/version.txt.new" && mv -f "$upgrade/version.txt.new" "$upgrade/version.txt"
echo "version.txt now holds $last"
