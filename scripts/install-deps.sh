#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# skipping the ones already present, and generates the decimal-comma locale
# the tests run under. Safe to run repeatedly, as a user with sudo or as root.
set -euo pipefail

packages=(
  build-essential g++ cmake pkg-config ninja-build
  libgtest-dev libgmock-dev libbenchmark-dev
  libmodbus-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libqt6svg6
  qt6-charts-dev libqt6opengl6-dev
  libgl-dev
  clang
  xvfb xauth
  poppler-utils
  locales
)
# The tests switch the C library to this locale, which writes decimal commas.
test_locale="de_DE.UTF-8"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# locale -a lists "de_DE.UTF-8" as "de_DE.utf8".
normalised="$(echo "$test_locale" | sed 's/\.UTF-8$/.utf8/')"
if ! locale -a 2>/dev/null | grep -qx "$normalised"; then
  echo "Generating the locale $test_locale"
  line="$test_locale UTF-8"
  if grep -qE "^# *$line\$" /etc/locale.gen 2>/dev/null; then
    $SUDO sed -i -E "s/^# *($line)\$/\\1/" /etc/locale.gen
  elif ! grep -qx "$line" /etc/locale.gen 2>/dev/null; then
    echo "$line" | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen
fi
