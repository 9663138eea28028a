#!/usr/bin/env bash
# Installs the Debian packages that building and testing Vorlund needs.
# Idempotent: does nothing when every package is already present.
set -euo pipefail

PACKAGES=(
  build-essential
  cmake
  ninja-build
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  libcli11-dev
  nlohmann-json3-dev
  libfmt-dev
  # The physics step's deterministic sines.
  libsleef-dev
  # The desktop program: Qt 6 Widgets, OpenGL 1.1 + GLU through Mesa.
  qt6-base-dev
  qt6-base-dev-tools
  libqt6opengl6-dev
  qt6-svg-dev
  qt6-multimedia-dev
  qt6-qpa-plugins
  libgl1-mesa-dev
  libglu1-mesa-dev
  libgl1-mesa-dri
  # Tests that need a real X server run under Xvfb; one font so text renders
  # the same everywhere.
  xvfb
  xauth
  x11-utils
  fonts-dejavu-core
  # File associations and the locale tests.
  shared-mime-info
  xdg-utils
  locales
  # Island evolution across processes and machines.
  openmpi-bin
  libopenmpi-dev
  # The Python module, its tests and examples.
  pybind11-dev
  python3-dev
  python3-numpy
  python3-pytest
  python3-matplotlib
  # Rendering exported scenes (tests and scripts/render-film.sh).
  povray
  # The Debian package: dpkg-shlibdeps, dpkg-buildflags and its checker.
  dpkg-dev
  lintian
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
