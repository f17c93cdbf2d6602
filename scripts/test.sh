#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test, then builds the
# core suite a second time with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs it again. Exits non-zero when a build or a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)

# The tests build in a tree of their own, optimised lightly and without debug
# information: that halves the compile time of the test sources, and the
# optimised tree of the program (build/release) stays what run.sh made.
cmake -S . -B build/test "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" -DCORVEL_WERROR=ON
cmake --build build/test -j"$jobs"
export QT_QPA_PLATFORM=offscreen

# Most tests wait on a serial line or a timer rather than compute, so they run
# while the sanitizer build compiles; their report follows once both are done.
test_log=build/test/ctest.log
(cd build/test && ctest --output-on-failure --timeout 300 -j"$jobs") >"$test_log" 2>&1 &
tests=$!

cmake -S . -B build/sanitize "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DCORVEL_WERROR=ON \
  -DCORVEL_SANITIZE=ON -DCORVEL_BUILD_UI=OFF -DCORVEL_BUILD_BENCH=OFF
build_status=0
cmake --build build/sanitize -j"$jobs" || build_status=$?
test_status=0
wait "$tests" || test_status=$?
cat "$test_log"
if [ "$test_status" -ne 0 ] || [ "$build_status" -ne 0 ]; then exit 1; fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build/sanitize && ctest --output-on-failure --timeout 600 -L core -j"$jobs")
