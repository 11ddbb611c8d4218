// Reading the first mip level of a block-compressed DDS file.
//
// loadDDS checks that a file is a valid 2D DDS texture in one of the S3TC
// formats and returns level 0's compressed blocks together with what OpenGL
// needs to upload them. The file is read twice: inspectDdsFile() reads only
// the headers and decides between "not a texture", "unsupported format" and
// a usable description; readDdsLevelZero() then opens the file again and
// reads as many bytes as the header's linear-size field names. Every way a
// file can be wrong yields a failed image (null data, zero sizes), never an
// over-read or an allocation the file cannot back.
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

// `path` is a full path (already resolved by the asset search). Prints
// "Unable to load DDS image file from path[<path>]" for a file that is not a
// DDS texture and "Unable to load DDS image file [<path>] due to an
// unsupported format." for one whose format is not DXT1/3/5; every later
// failure (the file changed or vanished, a lying or truncated header) is
// silent.
CompressedImage loadDDS(const std::string& path);

enum class DdsVerdict {
    NotATexture,        // unreadable, too short, wrong magic or header sizes, no 2D extent
    UnsupportedFormat,  // a valid DDS texture, but not DXT1/3/5 (uncompressed, BC4...)
    Usable,
};

// What the headers of a DDS file say. Only the verdict is meaningful unless
// it is Usable.
struct DdsDescription {
    DdsVerdict verdict = DdsVerdict::NotATexture;
    std::uint32_t width = 0;  // texels of level 0, both non-zero when usable
    std::uint32_t height = 0;
    GLenum glFormat = 0;
    std::uint32_t blockBytes = 0;  // 8 (DXT1) or 16 (DXT3, DXT5) per 4x4 block
    std::uint32_t dataOffset = 0;  // 128, or 148 after the "DX10" extended header
};

// Parses the header bytes at the start of a file (`size` of them, the whole
// file when it is shorter than 148 bytes). Pure: no file access.
DdsDescription parseDdsHeader(const std::uint8_t* bytes, std::size_t size);

// Reads the start of `path` and parses it; NotATexture when it cannot be read.
DdsDescription inspectDdsFile(const std::string& path);

// Bytes of level 0 for `width` x `height` texels in blocks of `blockBytes`,
// in 64 bits so that absurd extents cannot wrap around.
std::uint64_t compressedLevelSize(std::uint32_t width, std::uint32_t height,
                                  std::uint32_t blockBytes);

// The second read: opens `path`, checks the magic, takes the linear-size
// field (file offset 20) and reads that many bytes from `dataOffset`. Null,
// silently, when the file cannot be opened, the magic is wrong, the field is
// smaller than `imageSize`, or the file holds fewer bytes than the field
// names. `linearSize` receives the field's value on success.
std::unique_ptr<std::uint8_t[]> readDdsLevelZero(const std::string& path, std::uint32_t dataOffset,
                                                 std::uint32_t imageSize,
                                                 std::uint32_t* linearSize = nullptr);
