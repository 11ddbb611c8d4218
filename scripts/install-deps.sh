#!/usr/bin/env bash
# Installs the Debian packages the project needs, in three sets:
#   scripts/install-deps.sh play   what building and running the game need
#                                  (plus a virtual display and xdotool when
#                                  there is no display, for the headless game)
#   scripts/install-deps.sh web    what building the game for the browser,
#                                  its browser test and the score board
#                                  that serves it need (scripts/web.sh)
#   scripts/install-deps.sh        everything but the browser's: the play set,
#                                  and what the tests, benchmarks, fuzzers,
#                                  packaging checks and the score board (with
#                                  a PostgreSQL for its tests) need
# Runs as root, or through sudo when started by another user.
set -euo pipefail

play_packages=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libglm-dev libinih-dev libstb-dev libopenal-dev
  libgl1-mesa-dri
)
headless_packages=(xvfb xauth xdotool)
# The score board server (quorland-board) that serves the page: its
# HTTP, JSON, SQLite, PostgreSQL-client and hashing libraries.
board_packages=(libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpqxx-dev libssl-dev)
web_packages=(emscripten chromium chromium-driver python3-selenium python3-pil
  "${board_packages[@]}")
test_packages=(
  git x11-utils imagemagick time
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev valgrind
  lintian appstream
  "${board_packages[@]}" postgresql wrk
)

packages=("${play_packages[@]}")
if [ "${1:-}" = web ]; then
  packages+=("${web_packages[@]}")
elif [ "${1:-}" = play ]; then
  if [ -z "${DISPLAY:-}" ]; then
    packages+=("${headless_packages[@]}")
  fi
else
  packages+=("${headless_packages[@]}" "${test_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
