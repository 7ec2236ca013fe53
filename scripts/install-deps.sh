#!/usr/bin/env bash
# Installs the Debian 12 packages the program, its tests, benchmarks and fuzz targets need.
# Idempotent: only missing packages are fetched. Run as root or with sudo available.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-pdf-dev qt6-multimedia-dev
  qt6-svg-dev libgl-dev
  libsqlite3-dev sqlite3
  libmagick++-dev mdbtools-dev libglib2.0-dev pxlib-dev libxlsxwriter-dev
  clang libclang-rt-14-dev
  xvfb xauth imagemagick adwaita-icon-theme fonts-dejavu-core
  desktop-file-utils
  antiword poppler-utils libreoffice-writer-nogui libreoffice-calc-nogui
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
