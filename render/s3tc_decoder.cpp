#include "render/s3tc_decoder.h"

#include <algorithm>
#include <array>

namespace {

using Rgba = std::array<std::uint8_t, 4>;

std::uint32_t readLe16(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8;
}

// A 5:6:5 colour widened to 8 bits per channel by repeating its top bits.
Rgba expand565(std::uint32_t packed) {
    const std::uint32_t r = packed >> 11 & 0x1f;
    const std::uint32_t g = packed >> 5 & 0x3f;
    const std::uint32_t b = packed & 0x1f;
    return {static_cast<std::uint8_t>(r << 3 | r >> 2), static_cast<std::uint8_t>(g << 2 | g >> 4),
            static_cast<std::uint8_t>(b << 3 | b >> 2), 255};
}

// (weightA * a + weightB * b) / (weightA + weightB), per colour channel.
Rgba blend(const Rgba& a, const Rgba& b, std::uint32_t weightA, std::uint32_t weightB) {
    Rgba out{};
    for (std::size_t channel = 0; channel < 3; ++channel) {
        out[channel] = static_cast<std::uint8_t>((weightA * a[channel] + weightB * b[channel]) /
                                                 (weightA + weightB));
    }
    out[3] = 255;
    return out;
}

// The four colours of a colour block; `threeColourMode` allows DXT1's
// punch-through encoding (first colour not above the second).
std::array<Rgba, 4> blockPalette(const std::uint8_t* block, bool threeColourMode) {
    const std::uint32_t first = readLe16(block);
    const std::uint32_t second = readLe16(block + 2);
    const Rgba c0 = expand565(first);
    const Rgba c1 = expand565(second);
    if (threeColourMode && first <= second) {
        return {c0, c1, blend(c0, c1, 1, 1), Rgba{0, 0, 0, 0}};
    }
    return {c0, c1, blend(c0, c1, 2, 1), blend(c0, c1, 1, 2)};
}

// The 16 alpha values of a DXT5 alpha block (two end points, 3-bit indices).
std::array<std::uint8_t, 16> dxt5Alpha(const std::uint8_t* block) {
    const std::uint32_t a0 = block[0];
    const std::uint32_t a1 = block[1];
    std::array<std::uint32_t, 8> levels{a0, a1};
    if (a0 > a1) {
        for (std::uint32_t i = 1; i <= 6; ++i) {
            levels[i + 1] = ((7 - i) * a0 + i * a1) / 7;
        }
    } else {
        for (std::uint32_t i = 1; i <= 4; ++i) {
            levels[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        }
        levels[6] = 0;
        levels[7] = 255;
    }
    std::uint64_t bits = 0;
    for (int i = 5; i >= 0; --i) {
        bits = bits << 8 | block[2 + i];
    }
    std::array<std::uint8_t, 16> alpha{};
    for (std::size_t texel = 0; texel < 16; ++texel) {
        alpha[texel] = static_cast<std::uint8_t>(levels[bits >> (3 * texel) & 7]);
    }
    return alpha;
}

// The 16 alpha values of a DXT3 alpha block (explicit 4-bit values).
std::array<std::uint8_t, 16> dxt3Alpha(const std::uint8_t* block) {
    std::array<std::uint8_t, 16> alpha{};
    for (std::size_t texel = 0; texel < 16; ++texel) {
        const std::uint32_t nibble = block[texel / 2] >> (4 * (texel % 2)) & 0xf;
        alpha[texel] = static_cast<std::uint8_t>(nibble * 17);
    }
    return alpha;
}

// Writes one 4x4 block at block column `bx`, row `by`, clipped to the image.
void decodeBlock(const std::uint8_t* block, GLenum format, std::uint32_t bx, std::uint32_t by,
                 std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t>& rgba) {
    const bool isDxt1 = format == GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
    const std::uint8_t* colourBlock = isDxt1 ? block : block + 8;
    const std::array<Rgba, 4> palette = blockPalette(colourBlock, isDxt1);
    std::array<std::uint8_t, 16> alpha{};
    if (format == GL_COMPRESSED_RGBA_S3TC_DXT3_EXT) {
        alpha = dxt3Alpha(block);
    } else if (format == GL_COMPRESSED_RGBA_S3TC_DXT5_EXT) {
        alpha = dxt5Alpha(block);
    }
    const std::uint32_t indices = readLe16(colourBlock + 4) | readLe16(colourBlock + 6) << 16;
    for (std::uint32_t texel = 0; texel < 16; ++texel) {
        const std::uint32_t x = bx * 4 + texel % 4;
        const std::uint32_t y = by * 4 + texel / 4;
        if (x >= width || y >= height) {
            continue;
        }
        Rgba colour = palette[indices >> (2 * texel) & 3];
        if (!isDxt1) {
            colour[3] = alpha[texel];
        }
        const std::size_t at = (std::size_t{y} * width + x) * 4;
        std::copy(colour.begin(), colour.end(), rgba.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

}  // namespace

std::vector<std::uint8_t> decodeS3tc(const CompressedImage& image) {
    std::uint32_t blockBytes = 0;
    if (image.glFormat == GL_COMPRESSED_RGBA_S3TC_DXT1_EXT) {
        blockBytes = 8;
    } else if (image.glFormat == GL_COMPRESSED_RGBA_S3TC_DXT3_EXT ||
               image.glFormat == GL_COMPRESSED_RGBA_S3TC_DXT5_EXT) {
        blockBytes = 16;
    }
    if (!image.data || blockBytes == 0 || image.width <= 0 || image.height <= 0) {
        return {};
    }
    const auto width = static_cast<std::uint32_t>(image.width);
    const auto height = static_cast<std::uint32_t>(image.height);
    if (compressedLevelSize(width, height, blockBytes) > image.imageSize) {
        return {};
    }
    const std::uint32_t blocksAcross = (width + 3) / 4;
    const std::uint32_t blocksDown = (height + 3) / 4;
    std::vector<std::uint8_t> rgba(std::size_t{width} * height * 4);
    for (std::uint32_t by = 0; by < blocksDown; ++by) {
        for (std::uint32_t bx = 0; bx < blocksAcross; ++bx) {
            const std::uint8_t* block =
                image.data.get() + (std::size_t{by} * blocksAcross + bx) * blockBytes;
            decodeBlock(block, image.glFormat, bx, by, width, height, rgba);
        }
    }
    return rgba;
}
