#!/usr/bin/env bash
# Runs one headless game of the real binary under valgrind's memcheck on the
# current X display: start screen, one click, the first game frame written as
# a screenshot, exit. The game runs from a throw-away copy of the project's
# assets with a smaller window (640x360), and llvmpipe renders on the main
# thread (LP_NUM_THREADS=0), since valgrind runs one thread at a time anyway.
# Fails on any memcheck error (invalid reads or writes, uses of uninitialised
# values, bad frees) and on memory definitely lost; the graphics stack's own
# reports are suppressed by object name in tests/sanitizers/valgrind.supp.
# The first argument is the game binary (default build/quorland).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/common.sh"
binary="${1:-$root/build/quorland}"
sandbox="$(mktemp -d /tmp/quorland-memcheck.XXXXXX)"
log="$sandbox/valgrind.log"
trap 'rm -rf "$sandbox"' EXIT

mkdir -p "$sandbox/build" "$sandbox/run"
cp -r "$root/assets" "$sandbox/assets"
cp "$root/CMakeLists.txt" "$sandbox/CMakeLists.txt"
cp "$binary" "$sandbox/build/quorland"
printf '[window]\nwidth = 640\nheight = 360\n' > "$sandbox/assets/settings/window.ini"

cd "$sandbox/run"
LP_NUM_THREADS=0 valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
  --show-leak-kinds=definite --errors-for-leak-kinds=definite \
  --suppressions="$root/tests/sanitizers/valgrind.supp" --num-callers=30 \
  --log-file="$log" "$sandbox/build/quorland" --run_headless --seed 7 \
  < /dev/null > "$sandbox/game.log" 2>&1 &
game=$!
trap 'kill "$game" 2>/dev/null || true; rm -rf "$sandbox"' EXIT

# Valgrind starts the game slowly: look for the window once a second.
if ! wait_for_game_window "$game" 600 1; then
  echo "memcheck: FAILED: no window" >&2
  tail -30 "$log" >&2
  tail -5 "$sandbox/game.log" >&2
  exit 1
fi
# Under valgrind a click that comes before the start screen is up can be
# lost, so click again every 20 s until the game has saved its frame and
# ended (a click while playing changes nothing).
for _ in $(seq 90); do
  kill -0 "$game" 2>/dev/null || break
  click_start_screen 0
  for _ in $(seq 20); do
    kill -0 "$game" 2>/dev/null || break
    sleep 1
  done
done
if kill -0 "$game" 2>/dev/null; then
  echo "memcheck: FAILED: the game did not finish within 30 minutes" >&2
  exit 1
fi
code=0
wait "$game" || code=$?
trap 'rm -rf "$sandbox"' EXIT

# A log without these lines (valgrind itself failed) still gets its verdict below.
summary="$(sed -n -E 's/^==[0-9]*== *((ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable|suppressed:).*)/\1/p' "$log")"
echo "memcheck: exit code $code"
echo "$summary"
if [ "$code" -ne 0 ] || [ ! -s screenshot.ppm ]; then
  echo "memcheck: FAILED" >&2
  grep -vE -m 120 '^==[0-9]+== *$' "$log" >&2 || true
  exit 1
fi
