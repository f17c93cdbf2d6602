#!/usr/bin/env bash
# Fuzzes every parser of outside input for SECONDS each (default 60).
#
#   scripts/fuzz.sh [SECONDS]
#
# Builds the fuzz configuration in build/fuzz (clang; the code under test
# instrumented for libFuzzer's coverage and for AddressSanitizer and
# UndefinedBehaviorSanitizer), then runs each target in turn on its corpus in
# fuzz/corpus/TARGET. Inputs that reach new code are merged into that corpus,
# which is kept minimal (-merge=1) so that it stays small enough to commit.
# A crash, leak or time-out is kept in tests/data/fuzz/TARGET/, where the
# normal test suite runs it from then on; the script then exits with 1.
# FUZZ_NICE (default 19) is the niceness of the runs; FUZZ_JOBS the build jobs.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: scripts/fuzz.sh [SECONDS]" >&2
  exit 2
fi
nice_level="${FUZZ_NICE:-19}"
jobs="${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}"
build=build/fuzz

# Target and the longest input worth trying: a reply holds at most 256 bytes
# after the 6 bytes that choose the request; a configuration with points in
# every fit is a few kilobytes; database lines are cut at 767 characters.
targets=(reply_check config_loader chemical_database sim_request)
declare -A max_len=([reply_check]=300 [config_loader]=8192 [chemical_database]=4096
                    [sim_request]=1024)

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" "${generator[@]}" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCORVEL_FUZZ=ON -DCORVEL_WERROR=ON -DCORVEL_BUILD_UI=OFF \
  -DCORVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
summary=()
failed=0
for target in "${targets[@]}"; do
  corpus="fuzz/corpus/$target"
  findings="tests/data/fuzz/$target"
  mkdir -p "$corpus" "$findings"
  fresh="$scratch/$target-new"
  merged="$scratch/$target-merged"
  mkdir -p "$fresh" "$merged"
  log="$build/fuzz-$target.log"
  program="$build/bin/fuzz_$target"

  echo "== $target: ${seconds}s on $(ls "$corpus" | wc -l) corpus inputs"
  status=0
  nice -n "$nice_level" "$program" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$fresh" "$corpus" >"$log" 2>&1 || status=$?

  # The coverage of the last status line, and the executions of the final stats.
  last="$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)"
  cov="$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")"
  ft="$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")"
  runs="$(sed -nE 's/^stat::number_of_executed_units: ([0-9]+)/\1/p' "$log" | tail -n 1)"
  rate="$(sed -nE 's/^stat::average_exec_per_sec: +([0-9]+)/\1/p' "$log" | tail -n 1)"
  edges="$(sed -nE 's/^INFO: Loaded [0-9]+ modules +\(([0-9]+) inline 8-bit counters\).*/\1/p' \
    "$log" | head -n 1)"

  # Keep the corpus minimal: only inputs that each reach code no other one
  # does (edges alone, without hit counts, keeps it a few dozen files).
  nice -n "$nice_level" "$program" -merge=1 -use_counters=0 -max_len="${max_len[$target]}" \
    -timeout=10 -artifact_prefix="$findings/" "$merged" "$corpus" "$fresh" >>"$log" 2>&1
  if [ -n "$(ls -A "$merged")" ]; then
    find "$corpus" -type f -delete
    cp "$merged"/* "$corpus"/
  fi

  verdict="ok"
  if [ "$status" -ne 0 ]; then
    verdict="FINDING (exit $status), kept in $findings, see $log"
    failed=1
  fi
  summary+=("$(printf '%-18s %10s runs %7s/s  cov %5s of %6s  ft %6s  corpus %4s  %s' \
    "$target" "${runs:-?}" "${rate:-?}" "${cov:-?}" "${edges:-?}" "${ft:-?}" \
    "$(ls "$corpus" | wc -l)" "$verdict")")
done

echo
printf '%s\n' "${summary[@]}"
exit "$failed"
