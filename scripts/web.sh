#!/usr/bin/env bash
# The game in the browser: installs what the WebAssembly build and its test
# need, builds the page into build-web/site/ (a plain static folder any web
# host can serve), then
#   scripts/web.sh           serves it on http://127.0.0.1:8000/ until Ctrl-C,
#                            through the score board server (quorland-board,
#                            built with the desktop game that verifies runs
#                            into build-board/; scores kept in
#                            ${XDG_DATA_HOME:-~/.local/share}/quorland/board);
#   scripts/web.sh --build   stops after the build;
#   scripts/web.sh --test    runs the browser tests in headless Chromium
#                            (builds build/ for the desktop game they compare with);
#   scripts/web.sh --fps     measures its frames per second against the
#                            native game's (builds build/ for the benchmark);
#   scripts/web.sh --timedemo [NAME]  times a golden replay natively and in
#                            the page (SwiftShader and llvmpipe WebGL).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mode="${1:-serve}"
. "$root/scripts/lib/common.sh"

"$root/scripts/install-deps.sh" web
# Debian's emscripten needs Debian's node modules (acorn), which a node from
# elsewhere does not look for.
export NODE_PATH=/usr/share/nodejs

# Debian's emscripten ships its system libraries prebuilt
# (/usr/share/emscripten/cache), so nothing but the game is compiled here.
emcmake cmake -S "$root" -B "$root/build-web" -DCMAKE_BUILD_TYPE=Release \
  -DQUORLAND_WERROR="$(werror_setting)" >/dev/null
cmake --build "$root/build-web" -j "$(nproc)"
site="$root/build-web/site"
echo "Page built in $site ($(du -cb "$site"/quorland.{js,wasm} "$site"/assets.{js,data} | tail -1 | cut -f1) bytes to download)"

case "$mode" in
  --build)
    ;;
  --test)
    # The replay tests compare the page with the desktop game: build it too.
    "$root/scripts/install-deps.sh"
    "$root/scripts/build.sh" >/dev/null
    exec timeout 1800 /usr/bin/python3 "$root/web/browser_test.py" "$site" \
      "$root/build-web/test-logs" "$root/build/quorland"
    ;;
  --fps)
    "$root/scripts/install-deps.sh"
    "$root/scripts/build.sh" >/dev/null
    exec "$root/scripts/with-display.sh" /usr/bin/python3 "$root/web/measure_fps.py" "$site" \
      "$root/build/bench/quorland_bench"
    ;;
  --timedemo)
    # The timedemo of a golden replay natively and in the page, in one run.
    "$root/scripts/install-deps.sh"
    "$root/scripts/build.sh" >/dev/null
    exec "$root/scripts/with-display.sh" /usr/bin/python3 "$root/web/measure_replay.py" "$site" \
      "$root/build/quorland" "${2:-log_ride}"
    ;;
  serve)
    # The board and the game it verifies with, without the tests (whose
    # tools the web set does not install).
    cmake -S "$root" -B "$root/build-board" -DCMAKE_BUILD_TYPE=Release \
      -DQUORLAND_WERROR="$(werror_setting)" -DQUORLAND_BUILD_TESTS=OFF \
      -DQUORLAND_BUILD_BENCHMARKS=OFF -DQUORLAND_BUILD_BOARD=ON >/dev/null
    cmake --build "$root/build-board" -j "$(nproc)" --target quorland quorland-board
    data="${XDG_DATA_HOME:-$HOME/.local/share}/quorland/board"
    echo "Play at http://127.0.0.1:8000/ (add ?seed=7 for a course to share, ?daily for today's; Ctrl-C stops); scores in $data"
    exec "$root/build-board/quorland-board" --listen 127.0.0.1:8000 --site "$site" --data "$data"
    ;;
  *)
    echo "usage: scripts/web.sh [--build | --test | --fps | --timedemo [NAME]]" >&2
    exit 2
    ;;
esac
