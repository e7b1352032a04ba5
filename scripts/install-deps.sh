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
  locales
  xdg-utils mupdf
  clang-format
  libfftw3-dev libhdf5-dev libeigen3-dev
  libpagmo-dev libnlopt-cxx-dev
  libopenmpi-dev openmpi-bin
  pybind11-dev python3-dev python3-numpy python3-h5py
  dpkg-dev
)
# Locales the tests run under (comma decimal separators, group separators).
locales=(ru_RU.UTF-8 de_DE.UTF-8)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# locale -a spells them in lower case without the dash: ru_RU.utf8.
have=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | tr -d '-')
ungenerated=()
for l in "${locales[@]}"; do
  grep -qx "$(echo "$l" | tr '[:upper:]' '[:lower:]' | tr -d '-')" <<<"$have" || ungenerated+=("$l")
done
if [ ${#ungenerated[@]} -gt 0 ]; then
  echo "Generating locales: ${ungenerated[*]}"
  for l in "${ungenerated[@]}"; do
    $SUDO sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi
