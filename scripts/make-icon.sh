#!/usr/bin/env bash
# Draws the game's icon from the game itself, on the current X display:
# runs the real binary (default build/quorland) in a throw-away project tree
# whose camera looks down steeply through a narrow field of view at the
# start cell, starts a game, captures the screen once the yellow cube is in
# view, cuts the cube out by its colour and puts it on a rounded square of
# the game's sky colour. Writes packaging/icons/quorland-<size>.png at the
# usual hicolor sizes; the package installs them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/common.sh"
binary="${1:-$root/build/quorland}"
out="$root/packaging/icons"
sky='rgb(135,204,250)'  # the clear colour of the game frame
sandbox="$(mktemp -d /tmp/quorland-icon.XXXXXX)"
trap 'rm -rf "$sandbox"' EXIT
if ! convert="$(imagemagick convert)" || ! import="$(imagemagick import)"; then
  echo "make-icon: ImageMagick is needed (apt-get install imagemagick)" >&2
  exit 1
fi

mkdir -p "$sandbox/build" "$sandbox/run"
cp -r "$root/assets" "$sandbox/assets"
cp "$root/CMakeLists.txt" "$sandbox/CMakeLists.txt"
cp "$binary" "$sandbox/build/quorland"
printf '[camera]\nfov = 16\nnear = 0.1\nfar = 100\nyaw = 3.14159\npitch = -0.8\n' \
  > "$sandbox/assets/settings/camera_front_up.ini"

cd "$sandbox/run"
../build/quorland --seed 7 < /dev/null > game.log 2>&1 &
game=$!
trap 'kill "$game" 2>/dev/null || true; rm -rf "$sandbox"' EXIT
if ! wait_for_game_window "$game" 60; then
  tail -20 game.log >&2
  exit 1
fi
click_start_screen 1

# The cube shows two flat colours, its lit top and its shaded front face;
# nothing else in the frame comes near them.
cube_mask=(-fuzz 12% -fill white -opaque 'rgb(220,254,15)' -opaque 'rgb(141,157,10)'
  -fill black +opaque white -morphology Close Diamond:2)
found=""
for _ in $(seq 60); do
  sleep 0.5
  "$import" -window root -crop 1280x768+0+0 +repage frame.png
  "$convert" frame.png "${cube_mask[@]}" mask.png
  if [ "$("$convert" mask.png -format '%[fx:mean > 0.005]' info:)" = 1 ]; then
    found=yes
    break
  fi
done
kill "$game" 2>/dev/null || true
if [ -z "$found" ]; then
  echo "make-icon: the cube never came into view" >&2
  tail -20 game.log >&2
  exit 1
fi

# Cut the cube (its bounding box in the mask), square it up on a
# transparent canvas and lay it on the rounded sky square.
read -r width height offset <<< "$("$convert" mask.png -trim -format '%w %h %O' info:)"
side=$(( width > height ? width : height ))
"$convert" frame.png mask.png -alpha off -compose CopyOpacity -composite \
  -crop "${width}x${height}${offset}" +repage -compose Over -background none -gravity center \
  -extent "${side}x${side}" -resize 184x184 cube.png
"$convert" -size 256x256 xc:none -fill "$sky" -draw 'roundrectangle 8,8 247,247 40,40' \
  cube.png -gravity center -compose Over -composite icon.png
mkdir -p "$out"
for size in 16 24 32 48 64 128 256; do
  "$convert" icon.png -filter Lanczos -resize "${size}x${size}" -strip \
    -depth 8 -define png:exclude-chunks=date,time "$out/quorland-$size.png"
done
echo "wrote $out/quorland-{16,24,32,48,64,128,256}.png from a frame of the game"
