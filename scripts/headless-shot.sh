#!/usr/bin/env bash
# Plays one headless game on the current X display: starts the game with
# --run_headless in ./build, clicks its start screen, waits for the
# screenshot of the first game frame and converts it to PNG when
# ImageMagick is there.
# Extra arguments go to the game (e.g. --seed 7).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root/build"
rm -f screenshot.ppm screenshot.png

./quorland --run_headless "$@" < /dev/null &
game=$!
trap 'kill "$game" 2>/dev/null || true' EXIT

timeout 30 xdotool search --sync --name '^QUORLAND$' > /dev/null
sleep 1  # let the start screen come up before the click
xdotool mousemove 200 200 click 1
wait "$game"
trap - EXIT

# The PNG copy only where ImageMagick is installed (the tests install it).
if command -v convert > /dev/null; then
  convert screenshot.ppm screenshot.png
  echo "Wrote $root/build/screenshot.ppm and $root/build/screenshot.png"
else
  echo "Wrote $root/build/screenshot.ppm"
fi
