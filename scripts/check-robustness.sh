#!/usr/bin/env bash
# The robustness run, after scripts/test.sh:
#   1. every test (unit, OpenGL, end-to-end) built with AddressSanitizer and
#      UndefinedBehaviorSanitizer into ./build-asan; any report fails the test
#      it happens in, also inside the game processes the end-to-end tests
#      start (they inherit the sanitizer settings below);
#   2. the libFuzzer targets, a bounded time each (scripts/fuzz.sh);
#   3. one headless game under valgrind's memcheck (scripts/memcheck.sh);
#   4. a two-minute soak of the real game (scripts/soak.sh).
# Uses ./build/quorland from scripts/build.sh for steps 3 and 4 (built here
# when missing). Installs what is needed first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
fuzz_seconds="${QUORLAND_FUZZ_SECONDS:-45}"
soak_seconds="${QUORLAND_SOAK_SECONDS:-120}"
. "$root/scripts/lib/common.sh"

step() {
  local name="$1"
  shift
  local started=$SECONDS
  echo "=== $name"
  "$@"
  echo "=== $name: passed in $((SECONDS - started)) s"
}

sanitized_suite() {
  cmake -S "$root" -B "$root/build-asan" -DQUORLAND_SANITIZE=ON -DQUORLAND_WERROR="$(werror_setting)" \
    -DQUORLAND_BUILD_BENCHMARKS=OFF > /dev/null
  cmake --build "$root/build-asan" -j "$(nproc)"
  # Exported, so the game processes of the end-to-end tests run under them too.
  # Every report is also written to a file of its own under reports/, so one
  # in a game process started by a test (whose output the test reads) or in
  # a test's first try is seen too.
  local reports="$root/build-asan/reports"
  rm -rf "$reports"
  mkdir -p "$reports"
  export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:log_path=$reports/asan"
  export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
  # The game processes of the end-to-end tests keep the driver loaded until
  # the leak check at exit (see tests/support/child_process.cpp); the
  # sanitizer runtime must come first.
  local asan_runtime dri
  asan_runtime="$(ldd "$root/build-asan/quorland" | awk '/libasan/ { print $3 }')"
  dri="/usr/lib/$(gcc -print-multiarch)/dri/swrast_dri.so"
  export QUORLAND_GAME_PRELOAD="$asan_runtime libGLX_mesa.so.0 $dri"
  # The sanitized game runs a few times slower, and a few end-to-end tests
  # sample the screen at fixed moments, so a failed test gets a second try;
  # a sanitizer report in any try still fails the run.
  (cd "$root/build-asan" &&
    "$root/scripts/with-display.sh" ctest --output-on-failure -j "$(nproc)" --timeout 600 \
      --repeat until-pass:2)
  if [ -n "$(ls -A "$reports")" ]; then
    echo "sanitizer reports:" >&2
    cat "$reports"/* >&2
    return 1
  fi
}

"$root/scripts/install-deps.sh"
if [ ! -x "$root/build/quorland" ]; then
  "$root/scripts/build.sh"
fi
total=$SECONDS
step "sanitizers: the whole suite" sanitized_suite
step "fuzzing: ${fuzz_seconds} s per target" "$root/scripts/fuzz.sh" "$fuzz_seconds"
step "memcheck: one headless game" "$root/scripts/with-display.sh" "$root/scripts/memcheck.sh"
step "soak: ${soak_seconds} s of play" "$root/scripts/with-display.sh" "$root/scripts/soak.sh" "$soak_seconds"
echo "=== robustness run passed in $((SECONDS - total)) s"
