#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build, run and test ZORVA.
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail

# libphonon4qt5-dev alone would pull the VLC backend, which ignores the tick interval:
# the GStreamer backend is named explicitly.
PACKAGES=(
  cmake g++ make pkg-config git clang libclang-rt-14-dev
  qtbase5-dev qttools5-dev qttools5-dev-tools libqt5svg5-dev
  libphonon4qt5-dev phonon4qt5-backend-gstreamer gstreamer1.0-plugins-good gstreamer1.0-alsa
  portaudio19-dev libasound2-dev libjack-jackd2-dev libmp3lame-dev libquazip1-qt5-dev libsodium-dev libssl-dev openssl
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-base gstreamer1.0-tools
  libsoundtouch-dev
  librubberband-dev rubberband-cli soundstretch
  pulseaudio pulseaudio-utils libasound2-plugins
  xvfb xauth x11-apps x11-utils imagemagick fonts-noto-cjk
  espeak-ng sox libsox-fmt-mp3 lame
  nginx-light curl zip unzip expat libxml2-utils procps dpkg-dev
  python3-pyatspi at-spi2-core dbus-daemon desktop-file-utils appstream
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
# The distribution's nginx service is not wanted; our scripts run private instances.
$SUDO systemctl disable --now nginx >/dev/null 2>&1 || true
