#!/usr/bin/env bash
# Runs the program under Xvfb on the simulated transmitter and saves PNG
# screenshots of the main window and of each open menu into the given folder.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:?usage: scripts/screenshots.sh OUTPUT_DIR}"
mkdir -p "$out"
out=$(cd "$out" && pwd)

bash scripts/install-deps.sh
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
cmake -S . -B build/release "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j"$(nproc 2>/dev/null || echo 2)" --target corvel-cui

# A settings folder of its own, so that the pictures do not depend on (or
# change) the user's stored settings and recent files.
export XDG_CONFIG_HOME
XDG_CONFIG_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
xvfb-run -a -s "-screen 0 1280x800x24" \
  build/release/bin/corvel-cui --simulate --screenshots "$out"
