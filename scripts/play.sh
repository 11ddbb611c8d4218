#!/usr/bin/env bash
# Installs what is needed, builds, and runs the game in a window. Without a
# display it plays one headless game on a virtual display instead and
# leaves its first frame in build/screenshot.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/build/quorland" "$@"
fi
echo "No display: playing one headless game on a virtual display."
exec "$root/scripts/with-display.sh" "$root/scripts/headless-shot.sh" "$@"
