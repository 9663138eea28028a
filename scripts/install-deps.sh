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
  locales
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
