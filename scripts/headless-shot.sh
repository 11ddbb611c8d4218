#!/usr/bin/env bash
# Plays one headless game on the current X display: starts the game with
# --run_headless in ./build, clicks its start screen, waits for the
# screenshot of the first game frame and adds a PNG copy of it where
# ImageMagick is installed.
# Extra arguments go to the game (e.g. --seed 7, --filename NAME).
# Ends with the game's own exit code. The PNG copy is a convenience: when it
# cannot be made, one line says why and the run still counts as the game's.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/common.sh"
cd "$root/build"

# The file the game writes: NAME.ppm for the last "--filename NAME".
shot=screenshot
arguments=("$@")
for ((i = 0; i + 1 < ${#arguments[@]}; i++)); do
  if [ "${arguments[i]}" = --filename ]; then
    shot="${arguments[i + 1]}"
  fi
done
rm -f "$shot.ppm" "$shot.png"

./quorland --run_headless "$@" < /dev/null &
game=$!
trap 'kill "$game" 2> /dev/null || true' EXIT
if wait_for_game_window "$game"; then
  click_start_screen 1
elif kill -0 "$game" 2> /dev/null; then
  exit 1 # no window in time: the trap ends the game
fi
code=0
wait "$game" || code=$?
trap - EXIT
if [ "$code" -ne 0 ]; then
  echo "The game ended with exit code $code." >&2
  exit "$code"
fi

if [ ! -f "$shot.ppm" ]; then
  echo "The game wrote no $PWD/$shot.ppm."
elif reason="$(write_png_copy "$shot.ppm" "$shot.png")"; then
  echo "Wrote $PWD/$shot.ppm and $PWD/$shot.png"
else
  echo "Wrote $PWD/$shot.ppm (no PNG copy: $reason)"
fi
