#!/usr/bin/env bash
# Installs every Debian package Kormax needs to build, run and test.
# Does nothing when everything is present; refreshes the package lists only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  clang libclang-rt-14-dev
  qtbase5-dev qttools5-dev-tools libqt5opengl5-dev libqt5svg5-dev
  libqwt-qt5-dev qttranslations5-l10n
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libopenblas-dev libomp-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils
  fonts-dejavu-core
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
