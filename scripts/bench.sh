#!/usr/bin/env bash
# Measures the game's performance in one command: installs what is needed,
# builds ./build, runs quorland_bench with repetitions (medians reported,
# budgets checked at the end) and then the process-level figures of the real
# binary's headless run (scripts/measure-startup.sh) and the replay timedemos
# with and without recording (scripts/measure-replay.sh), all under a display
# (a virtual one when DISPLAY is unset). The JSON of the benchmark run is
# left in build/bench-results.json.
#   BENCH_REPETITIONS (default 5)  repetitions of every benchmark
#   STARTUP_RUNS (default 5)       headless runs of the real binary
#   REPLAY_RUNS (default 4)        timedemos with and without --record (scripts/measure-replay.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$root/build"
"$root/scripts/with-display.sh" ./bench/quorland_bench \
  --benchmark_repetitions="${BENCH_REPETITIONS:-5}" \
  --benchmark_report_aggregates_only=true \
  --benchmark_out=bench-results.json --benchmark_out_format=json
"$root/scripts/with-display.sh" "$root/scripts/measure-startup.sh" "${STARTUP_RUNS:-5}"
"$root/scripts/with-display.sh" "$root/scripts/measure-startup.sh" "${STARTUP_RUNS:-5}" --sound
"$root/scripts/with-display.sh" "$root/scripts/measure-replay.sh" "${REPLAY_RUNS:-4}"
