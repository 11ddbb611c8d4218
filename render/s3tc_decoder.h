// Software decoding of S3TC blocks (DXT1, DXT3, DXT5) to 8-bit RGBA texels.
//
// For an OpenGL that cannot take a compressed level as it is, or cannot
// mip-map one (WebGL 2 never generates mipmaps of compressed formats): the
// texture is decoded once at load and uploaded as plain RGBA, so it looks as
// the desktop's driver-decoded texture does. DXT1 is decoded as the RGBA
// variant the desktop uploads: in a block whose first colour is not above the
// second, index 3 is transparent black.
#pragma once

#include <cstdint>
#include <vector>

#include "render/dds_reader.h"

// width x height texels, 4 bytes each (R, G, B, A), rows in the order the
// blocks are stored (the order OpenGL uploads them in). Empty when the image
// holds no data, its format is not DXT1/3/5, or imageSize is too small for
// its extent.
std::vector<std::uint8_t> decodeS3tc(const CompressedImage& image);
