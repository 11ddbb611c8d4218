#!/usr/bin/env bash
# Installs what is needed, builds, and runs the game in a window.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "$root/scripts/with-display.sh" "$root/build/quorland" "$@"
