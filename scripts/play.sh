#!/usr/bin/env bash
# Installs what building and running the game need, builds the game alone
# (no tests or benchmarks), and runs it in a window. Without a display it
# plays one headless game on a virtual display instead and leaves its first
# frame in build/screenshot.ppm.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" play
"$root/scripts/build.sh" -DQUORLAND_BUILD_TESTS=OFF -DQUORLAND_BUILD_BENCHMARKS=OFF
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/build/quorland" "$@"
fi
echo "No display: playing one headless game on a virtual display."
exec "$root/scripts/with-display.sh" "$root/scripts/headless-shot.sh" "$@"
