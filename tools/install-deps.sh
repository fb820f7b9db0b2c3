#!/usr/bin/env bash
# Installs every Debian package that building, running, testing and packaging
# Kalvor needs. Quick when everything is already there: apt is only called for
# missing packages. With --screenshots also what tools/screenshots.sh needs.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins libqt6opengl6-dev qt6-base-dev-tools libgl-dev libglu1-mesa-dev libegl-dev
  libjpeg-dev libpng-dev libosmesa6-dev libgl1-mesa-dri mesa-utils
  libgdal-dev libcli11-dev
  xvfb xauth locales
  clang libclang-rt-dev
  librsvg2-bin help2man dpkg-dev desktop-file-utils appstream lintian file
)
if [ "${1:-}" = "--screenshots" ]; then
  packages+=(openbox xdotool x11-utils x11-xserver-utils imagemagick gdal-bin)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale lets the tests prove that numbers are written with "." anyway.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null 2>&1 || true
  fi
fi
