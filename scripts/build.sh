#!/usr/bin/env bash
# Configures and builds the game and its tests into ./build.
# Extra arguments go to the CMake configure step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
werror=OFF
if [ "${CI:-}" = "true" ]; then
  werror=ON
fi
cmake -S "$root" -B "$root/build" -DQUORLAND_WERROR="$werror" "$@"
cmake --build "$root/build" -j "$(nproc)"
