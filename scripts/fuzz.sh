#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into ./build-fuzz and runs each for
# a bounded time (first argument, seconds, default 45) from its committed
# seed corpus in fuzz/corpus/<target>/. New inputs go to
# build-fuzz/corpus/<target>/, never into the committed corpus. Fails on the
# first crash, leak or sanitizer report; the input that caused it is left
# in build-fuzz/artifacts/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-45}"
build="$root/build-fuzz"
targets=(dds_reader settings_reader command_line text replay verify)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORLAND_FUZZ=ON -DQUORLAND_BUILD_TESTS=OFF -DQUORLAND_BUILD_BENCHMARKS=OFF > /dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$build/artifacts"
status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  log="$build/fuzz_$target.log"
  echo "fuzz_$target: ${seconds} s"
  if "$build/fuzz/fuzz_$target" "$corpus" "$root/fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" > "$log" 2>&1; then
    runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)"
    echo "fuzz_$target: ${runs:-?} executions, no findings"
  else
    echo "fuzz_$target: FAILED, see $log" >&2
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" >&2 || tail -20 "$log" >&2
    status=1
  fi
done
exit "$status"
