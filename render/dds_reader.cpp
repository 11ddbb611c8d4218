#include "render/dds_reader.h"

#include <array>
#include <cstring>
#include <fstream>
#include <limits>

#include "framework/console.h"

namespace {

constexpr std::size_t kBaseHeaderEnd = 128;  // "DDS " + 124-byte header
constexpr std::size_t kDx10HeaderEnd = 148;  // + 20-byte extended header
constexpr std::uint32_t kHeaderSize = 124;
constexpr std::uint32_t kPixelFormatSize = 32;

// Byte offsets in the file, little-endian 32-bit fields.
constexpr std::size_t kHeaderSizeAt = 4;
constexpr std::size_t kHeightAt = 12;
constexpr std::size_t kWidthAt = 16;
constexpr std::size_t kLinearSizeAt = 20;
constexpr std::size_t kDepthAt = 24;
constexpr std::size_t kPixelFormatSizeAt = 76;
constexpr std::size_t kPixelFormatFlagsAt = 80;
constexpr std::size_t kFourCcAt = 84;
constexpr std::size_t kCaps2At = 112;
constexpr std::size_t kDxgiFormatAt = 128;
constexpr std::size_t kResourceDimensionAt = 132;
constexpr std::size_t kMiscFlagAt = 136;
constexpr std::size_t kArraySizeAt = 140;

constexpr std::uint32_t kPixelFormatHasFourCc = 0x4;
constexpr std::uint32_t kCaps2Cubemap = 0x200;
constexpr std::uint32_t kCaps2Volume = 0x200000;
constexpr std::uint32_t kResourceTexture2D = 3;
constexpr std::uint32_t kMiscTextureCube = 0x4;

constexpr char kMagic[4] = {'D', 'D', 'S', ' '};

std::uint32_t readLe32(const std::uint8_t* bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

constexpr std::uint32_t fourCc(const char (&code)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24;
}

struct S3tcFormat {
    GLenum glFormat;
    std::uint32_t blockBytes;
};
constexpr S3tcFormat kDxt1{GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 8};
constexpr S3tcFormat kDxt3{GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 16};
constexpr S3tcFormat kDxt5{GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 16};
constexpr S3tcFormat kUnsupported{0, 0};

// BC1/BC2/BC3 unorm and sRGB; the sRGB variants get the linear formats.
S3tcFormat formatOfDxgi(std::uint32_t dxgiFormat) {
    switch (dxgiFormat) {
        case 71:  // BC1_UNORM
        case 72:  // BC1_UNORM_SRGB
            return kDxt1;
        case 74:  // BC2_UNORM
        case 75:  // BC2_UNORM_SRGB
            return kDxt3;
        case 77:  // BC3_UNORM
        case 78:  // BC3_UNORM_SRGB
            return kDxt5;
        default:
            return kUnsupported;
    }
}

S3tcFormat formatOfFourCc(std::uint32_t code) {
    if (code == fourCc("DXT1")) {
        return kDxt1;
    }
    if (code == fourCc("DXT3")) {
        return kDxt3;
    }
    if (code == fourCc("DXT5")) {
        return kDxt5;
    }
    return kUnsupported;
}

// The extended header's checks: a single 2D texture, not a cube or an array.
bool isPlain2DDx10(const std::uint8_t* bytes) {
    return readLe32(bytes, kResourceDimensionAt) == kResourceTexture2D &&
           (readLe32(bytes, kMiscFlagAt) & kMiscTextureCube) == 0 &&
           readLe32(bytes, kArraySizeAt) == 1;
}

}  // namespace

DdsDescription parseDdsHeader(const std::uint8_t* bytes, std::size_t size) {
    DdsDescription description;  // NotATexture
    if (size < kBaseHeaderEnd || std::memcmp(bytes, kMagic, sizeof kMagic) != 0 ||
        readLe32(bytes, kHeaderSizeAt) != kHeaderSize ||
        readLe32(bytes, kPixelFormatSizeAt) != kPixelFormatSize) {
        return description;
    }
    const std::uint32_t width = readLe32(bytes, kWidthAt);
    const std::uint32_t height = readLe32(bytes, kHeightAt);
    const std::uint32_t caps2 = readLe32(bytes, kCaps2At);
    const bool isVolume = (caps2 & kCaps2Volume) != 0 && readLe32(bytes, kDepthAt) > 1;
    if (width == 0 || height == 0 || (caps2 & kCaps2Cubemap) != 0 || isVolume) {
        return description;
    }

    S3tcFormat format = kUnsupported;
    std::uint32_t dataOffset = kBaseHeaderEnd;
    if ((readLe32(bytes, kPixelFormatFlagsAt) & kPixelFormatHasFourCc) != 0) {
        const std::uint32_t code = readLe32(bytes, kFourCcAt);
        if (code == fourCc("DX10")) {
            if (size < kDx10HeaderEnd || !isPlain2DDx10(bytes)) {
                return description;
            }
            format = formatOfDxgi(readLe32(bytes, kDxgiFormatAt));
            dataOffset = kDx10HeaderEnd;
        } else {
            format = formatOfFourCc(code);
        }
    }

    description.verdict =
        format.blockBytes == 0 ? DdsVerdict::UnsupportedFormat : DdsVerdict::Usable;
    description.width = width;
    description.height = height;
    description.glFormat = format.glFormat;
    description.blockBytes = format.blockBytes;
    description.dataOffset = static_cast<std::uint32_t>(dataOffset);
    return description;
}

DdsDescription inspectDdsFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return DdsDescription{};
    }
    std::array<std::uint8_t, kDx10HeaderEnd> header{};
    file.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    return parseDdsHeader(header.data(), static_cast<std::size_t>(file.gcount()));
}

std::uint64_t compressedLevelSize(std::uint32_t width, std::uint32_t height,
                                  std::uint32_t blockBytes) {
    const std::uint64_t blocksAcross = (std::uint64_t{width} + 3) / 4;
    const std::uint64_t blocksDown = (std::uint64_t{height} + 3) / 4;
    return blocksAcross * blocksDown * blockBytes;
}

std::unique_ptr<std::uint8_t[]> readDdsLevelZero(const std::string& path, std::uint32_t dataOffset,
                                                 std::uint32_t imageSize,
                                                 std::uint32_t* linearSize) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return nullptr;
    }
    std::array<std::uint8_t, kBaseHeaderEnd> header{};
    file.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    if (file.gcount() < static_cast<std::streamsize>(kLinearSizeAt + 4) ||
        std::memcmp(header.data(), kMagic, sizeof kMagic) != 0) {
        return nullptr;
    }
    const std::uint32_t bytesToRead = readLe32(header.data(), kLinearSizeAt);
    if (bytesToRead < imageSize) {
        return nullptr;  // OpenGL would read past the buffer
    }

    // Only allocate what the file can actually back.
    file.clear();
    file.seekg(0, std::ios::end);
    const std::streamoff fileSize = file.tellg();
    if (fileSize < 0 || static_cast<std::uint64_t>(fileSize) < std::uint64_t{dataOffset} ||
        static_cast<std::uint64_t>(fileSize) - dataOffset < bytesToRead) {
        return nullptr;
    }
    auto data = std::make_unique<std::uint8_t[]>(bytesToRead);
    file.seekg(static_cast<std::streamoff>(dataOffset), std::ios::beg);
    file.read(reinterpret_cast<char*>(data.get()), static_cast<std::streamsize>(bytesToRead));
    if (file.gcount() != static_cast<std::streamsize>(bytesToRead)) {
        return nullptr;
    }
    if (linearSize != nullptr) {
        *linearSize = bytesToRead;
    }
    return data;
}

CompressedImage loadDDS(const std::string& path) {
    const DdsDescription description = inspectDdsFile(path);
    if (description.verdict == DdsVerdict::NotATexture) {
        printLine("Unable to load DDS image file from path[" + path + "]");
        return {};
    }
    if (description.verdict == DdsVerdict::UnsupportedFormat) {
        printLine("Unable to load DDS image file [" + path + "] due to an unsupported format.");
        return {};
    }
    const std::uint64_t levelSize =
        compressedLevelSize(description.width, description.height, description.blockBytes);
    // The linear-size field is 32 bits, so no file can back a larger level;
    // this also keeps both extents below 2^31.
    if (levelSize > std::numeric_limits<std::uint32_t>::max()) {
        return {};
    }
    CompressedImage image;
    image.imageSize = static_cast<std::uint32_t>(levelSize);
    image.data = readDdsLevelZero(path, description.dataOffset, image.imageSize);
    if (!image.data) {
        return {};
    }
    image.width = static_cast<std::int32_t>(description.width);
    image.height = static_cast<std::int32_t>(description.height);
    image.glFormat = description.glFormat;
    return image;
}
