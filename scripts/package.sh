#!/usr/bin/env bash
# Builds the Debian package: a release build installed under /usr, packed by
# cpack with its library dependencies computed. Prints the .deb it wrote; runs
# lintian on it when lintian is installed.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/package}"
jobs="${JOBS:-$(nproc)}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCORVEL_BUILD_BENCH=OFF ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER}
cmake --build "$build" -j "$jobs" --target corvel-cui corvel-cli corvel-sim
(cd "$build" && cpack -G DEB)

deb="$(ls -t "$build"/corvel-configurator_*.deb | head -n 1)"
echo "$deb"
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb" || true
fi
