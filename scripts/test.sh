#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (unit, OpenGL and
# end-to-end) under a display, starting a virtual one when there is none.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$root/build"
"$root/scripts/with-display.sh" ctest --output-on-failure -j "$(nproc)" --timeout 300
