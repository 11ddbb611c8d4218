#!/usr/bin/env bash
# Configures and builds the game, its tests and the score board server
# (quorland-board) into ./build.
# Extra arguments go to the CMake configure step (scripts/play.sh turns the
# tests and benchmarks off there, so only the game is built).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/common.sh"
cmake -S "$root" -B "$root/build" -DQUORLAND_WERROR="$(werror_setting)" \
  -DQUORLAND_BUILD_TESTS=ON -DQUORLAND_BUILD_BENCHMARKS=ON -DQUORLAND_BUILD_BOARD=ON "$@"
cmake --build "$root/build" -j "$(nproc)"
