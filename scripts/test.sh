#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (unit, OpenGL and
# end-to-end) under a display, starting a virtual one when there is none.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$root/build"
# The end-to-end tests watch a real game through screen captures, which a
# heavily loaded machine can starve; a failed test gets one more try, and
# its first failure stays in the log.
"$root/scripts/with-display.sh" ctest --output-on-failure -j "$(nproc)" --timeout 300 \
  --repeat until-pass:2

# The browser build, played in headless Chromium.
"$root/scripts/web.sh" --test
