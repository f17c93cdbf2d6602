#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# skipping the ones already present. Safe to run repeatedly.
set -euo pipefail

packages=(
  build-essential g++ cmake pkg-config ninja-build
  libgtest-dev libgmock-dev libbenchmark-dev
  libmodbus-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libqt6svg6
  libgl-dev
  clang
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
