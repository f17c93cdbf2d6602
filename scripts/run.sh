#!/usr/bin/env bash
# Builds the program and starts it on its embedded default: a simulated
# transmitter on a pseudo-terminal. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)

cmake -S . -B build/release "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j"$jobs" --target corvel-cui corvel-cli corvel-sim
exec build/release/bin/corvel-cui --simulate "$@"
