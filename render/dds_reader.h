// Reading the first mip level of a block-compressed DDS file.
//
// loadDDS checks that a file is a valid 2D DDS texture in one of the S3TC
// formats and returns level 0's compressed blocks together with what OpenGL
// needs to upload them. Every way a file can be wrong yields a failed image
// (null data, zero sizes), never an over-read or an allocation the file
// cannot back.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <memory>
#include <string>

struct CompressedImage {
    std::unique_ptr<std::uint8_t[]> data;  // level 0's blocks; null when loading failed
    std::int32_t width = 0;                // texels
    std::int32_t height = 0;
    std::uint32_t imageSize = 0;  // bytes of level 0, as passed to OpenGL
    GLenum glFormat = 0;          // a GL_COMPRESSED_RGBA_S3TC_DXTn_EXT format
};

// `path` is a full path (already resolved by the asset search).
CompressedImage loadDDS(const std::string& path);
