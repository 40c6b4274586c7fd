#!/usr/bin/env bash
# Builds the Debian package from an existing build (scripts/run-tests.sh and scripts/run.sh
# make one; a missing build is configured and built here): the flat installation under
# /opt/zorva, the `zorva` launcher, the desktop entry, AppStream metadata, icons, the licence
# and the Debian copyright file. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ZORVA_BUILD_DIR:-build}
if [ ! -x "$build/stage/ZORVA" ]; then
  bash scripts/install-deps.sh
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$(nproc)" >/dev/null
fi
version=$(sed -n 's/^project(ZORVA VERSION 1\.\([0-9]*\).*/1\1/p' CMakeLists.txt)
root=$(mktemp -d "${TMPDIR:-/tmp}/zorva-package.XXXXXX")
trap 'rm -rf "$root"' EXIT
chmod 755 "$root"

# Desktops skip an entry or metadata file that does not validate; refuse to package one.
desktop-file-validate packaging/zorva.desktop
appstreamcli validate --no-net --pedantic packaging/org.zorva.zorva.metainfo.xml >/dev/null

cmake --install "$build" --prefix "$root/opt/zorva" >/dev/null
# Debug information stays in the build; the package carries lean programs.
strip --strip-debug --strip-unneeded "$root/opt/zorva/ZORVA" "$root/opt/zorva/update"
install -D -m 755 packaging/zorva "$root/usr/bin/zorva"
install -D -m 644 packaging/zorva.desktop "$root/usr/share/applications/zorva.desktop"
install -D -m 644 packaging/org.zorva.zorva.metainfo.xml "$root/usr/share/metainfo/org.zorva.zorva.metainfo.xml"
install -D -m 644 resources/images/zorva.png "$root/usr/share/icons/hicolor/256x256/apps/zorva.png"
install -D -m 644 resources/images/zorva.svg "$root/usr/share/icons/hicolor/scalable/apps/zorva.svg"
install -D -m 644 packaging/copyright "$root/usr/share/doc/zorva/copyright"
install -m 644 LICENSE "$root/opt/zorva/LICENSE"

# dpkg-shlibdeps reads the package name from a control file in its working directory.
mkdir -p "$root/DEBIAN" "$root/.shlibs/debian"
printf 'Source: zorva\n\nPackage: zorva\nArchitecture: any\n' >"$root/.shlibs/debian/control"
libraries=$(cd "$root/.shlibs" && dpkg-shlibdeps -O "$root/opt/zorva/ZORVA" "$root/opt/zorva/update" 2>/dev/null \
  | sed -n 's/^shlibs:Depends=//p')
rm -rf "$root/.shlibs"
cat >"$root/DEBIAN/control" <<CONTROL
Package: zorva
Version: $version
Architecture: $(dpkg --print-architecture)
Section: education
Priority: optional
Maintainer: ZORVA developers <zorva@localhost>
Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)
Depends: $libraries, phonon4qt5-backend-gstreamer, gstreamer1.0-plugins-good, fonts-noto-cjk
Description: Trainer for practising interpreting
 ZORVA plays study materials with A-B loop marks beside their transcript
 and translation, records the learner's voice as MP3 and guides a six-step
 interpreting training.
CONTROL

out=$(cd "$build" && pwd)/zorva_${version}_$(dpkg --print-architecture).deb
dpkg-deb --root-owner-group -Zxz -z1 --build "$root" "$out" >/dev/null
echo "$out"
