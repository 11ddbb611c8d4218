#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test the game, and
# any further packages named as arguments (scripts/web.sh names its own).
# Runs as root, or through sudo when started by another user.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libglfw3-dev libglew-dev libglm-dev libinih-dev libstb-dev
  libgl1-mesa-dri xvfb xauth xdotool x11-utils imagemagick
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev valgrind
  "$@"
)

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
