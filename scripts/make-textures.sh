#!/usr/bin/env bash
# Regenerates the two game textures from procedural images with ImageMagick:
#   assets/textures/wood_texture.dds  - wood rings, DXT1
#   assets/textures/tiles_diffuse.dds - 4x4 floor tiles, DXT5 (opaque alpha)
# Both are 256x256 with a full mip chain (the game uploads level 0 only and
# lets OpenGL build the rest). The noise is seeded, so a rerun with the same
# ImageMagick gives the same files.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$root/scripts/lib/common.sh"
out="$root/assets/textures"
mkdir -p "$out"

if ! convert="$(imagemagick convert)"; then
    echo "make-textures: ImageMagick's convert is needed (apt-get install imagemagick)" >&2
    exit 1
fi

# Wood: rings around a point off the left edge, wobbled along the grain,
# mapped from dark to light brown, with a little seeded grain noise.
"$convert" -size 256x256 xc: \
    -fx '0.5 + 0.5 * sin(hypot((i + 90) * 0.35, j - 128 + 9 * sin(i / 23)) / 2.7)' \
    -seed 7 -attenuate 0.25 +noise Gaussian -blur 0x0.6 \
    +level-colors '#5b3a1d,#b98250' \
    -alpha off -define dds:compression=dxt1 -define dds:mipmaps=8 \
    "$out/wood_texture.dds"

# Tiles: one 64x64 tile with a grout border, repeated 4x4, lightly noised.
"$convert" -size 64x64 xc:'#c9c1b2' \
    -fill '#7d756a' -draw 'rectangle 0,0 63,2' -draw 'rectangle 0,0 2,63' \
    -write mpr:tile +delete \
    -size 256x256 tile:mpr:tile \
    -seed 11 -attenuate 0.3 +noise Gaussian \
    -alpha set -channel A -evaluate set 100% +channel \
    -define dds:compression=dxt5 -define dds:mipmaps=8 \
    "$out/tiles_diffuse.dds"

echo "wrote $out/wood_texture.dds and $out/tiles_diffuse.dds"
