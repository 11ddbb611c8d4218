// Software S3TC decoding: the palettes, the alpha encodings and the edges of
// images whose sides are not multiples of four, byte for byte. The GL test
// of textures compares whole game textures with the desktop driver's decoding.
#include "render/s3tc_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "support/s3tc_blocks.h"

namespace {

using Texel = std::array<std::uint8_t, 4>;

CompressedImage imageOf(GLenum format, int width, int height, std::vector<std::uint8_t> blocks) {
    CompressedImage image;
    image.glFormat = format;
    image.width = width;
    image.height = height;
    image.imageSize = static_cast<std::uint32_t>(blocks.size());
    image.data = std::make_unique<std::uint8_t[]>(blocks.size());
    std::memcpy(image.data.get(), blocks.data(), blocks.size());
    return image;
}

Texel texelAt(const std::vector<std::uint8_t>& rgba, int width, int x, int y) {
    const auto at = static_cast<std::size_t>((y * width + x) * 4);
    return {rgba[at], rgba[at + 1], rgba[at + 2], rgba[at + 3]};
}

constexpr std::uint16_t kRed = 0xF800;
constexpr std::uint16_t kBlue = 0x001F;

TEST(S3tcDecoder, Dxt1FourColourBlockInterpolatesInThirds) {
    const auto rgba =
        decodeS3tc(imageOf(GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 4, 4, colourBlock(kRed, kBlue)));
    ASSERT_EQ(rgba.size(), 64u);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(texelAt(rgba, 4, 0, y), (Texel{255, 0, 0, 255}));
        EXPECT_EQ(texelAt(rgba, 4, 1, y), (Texel{0, 0, 255, 255}));
        EXPECT_EQ(texelAt(rgba, 4, 2, y), (Texel{170, 0, 85, 255}));
        EXPECT_EQ(texelAt(rgba, 4, 3, y), (Texel{85, 0, 170, 255}));
    }
}

TEST(S3tcDecoder, Dxt1ThreeColourBlockHasAHalfwayColourAndTransparentBlack) {
    const auto rgba =
        decodeS3tc(imageOf(GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 4, 4, colourBlock(kBlue, kRed)));
    EXPECT_EQ(texelAt(rgba, 4, 0, 0), (Texel{0, 0, 255, 255}));
    EXPECT_EQ(texelAt(rgba, 4, 2, 0), (Texel{127, 0, 127, 255}));
    EXPECT_EQ(texelAt(rgba, 4, 3, 0), (Texel{0, 0, 0, 0}));
}

TEST(S3tcDecoder, Dxt3UsesExplicitAlphaAndAlwaysFourColours) {
    // Alpha nibbles 0..15 in texel order; colours in three-colour order,
    // which DXT3 still decodes as four colours.
    std::vector<std::uint8_t> alpha;
    for (int pair = 0; pair < 8; ++pair) {
        alpha.push_back(static_cast<std::uint8_t>((2 * pair + 1) << 4 | 2 * pair));
    }
    const auto rgba = decodeS3tc(
        imageOf(GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 4, 4, concat(alpha, colourBlock(kBlue, kRed))));
    EXPECT_EQ(texelAt(rgba, 4, 0, 0), (Texel{0, 0, 255, 0}));
    EXPECT_EQ(texelAt(rgba, 4, 3, 0), (Texel{170, 0, 85, 51}));
    EXPECT_EQ(texelAt(rgba, 4, 3, 3), (Texel{170, 0, 85, 255}));
}

TEST(S3tcDecoder, Dxt5AlphaHasEightOrSixLevels) {
    // Texel i takes alpha index i % 8: 3 bits each, little-endian.
    std::vector<std::uint8_t> indices(6, 0);
    for (std::uint64_t texel = 0, bits = 0; texel < 16; ++texel) {
        bits |= (texel % 8) << (3 * texel);
        for (std::size_t b = 0; b < 6; ++b) {
            indices[b] = static_cast<std::uint8_t>(bits >> (8 * b));
        }
    }
    const auto levelsOf = [&](std::uint8_t a0, std::uint8_t a1) {
        std::vector<std::uint8_t> block{a0, a1};
        block.insert(block.end(), indices.begin(), indices.end());
        const auto rgba = decodeS3tc(imageOf(GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 4, 4,
                                             concat(block, colourBlock(kRed, kBlue))));
        std::vector<int> alpha;
        for (int texel = 0; texel < 8; ++texel) {
            alpha.push_back(texelAt(rgba, 4, texel % 4, texel / 4)[3]);
        }
        return alpha;
    };
    EXPECT_EQ(levelsOf(210, 70), (std::vector<int>{210, 70, 190, 170, 150, 130, 110, 90}));
    EXPECT_EQ(levelsOf(50, 150), (std::vector<int>{50, 150, 70, 90, 110, 130, 0, 255}));
}

TEST(S3tcDecoder, EdgeBlocksAreClippedToTheImage) {
    // 5 x 3 texels: two blocks across, one down; the second block is red.
    const auto rgba =
        decodeS3tc(imageOf(GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 5, 3,
                           concat(colourBlock(kBlue, kBlue), colourBlock(kRed, kRed))));
    ASSERT_EQ(rgba.size(), 5u * 3u * 4u);
    EXPECT_EQ(texelAt(rgba, 5, 1, 2), (Texel{0, 0, 255, 255}));
    EXPECT_EQ(texelAt(rgba, 5, 4, 0), (Texel{255, 0, 0, 255}));
    EXPECT_EQ(texelAt(rgba, 5, 4, 2), (Texel{255, 0, 0, 255}));
}

TEST(S3tcDecoder, NothingForAFailedImageAnUnknownFormatOrTooFewBytes) {
    EXPECT_TRUE(decodeS3tc(CompressedImage{}).empty());
    EXPECT_TRUE(decodeS3tc(imageOf(GL_RGBA8, 4, 4, colourBlock(kRed, kBlue))).empty());
    EXPECT_TRUE(
        decodeS3tc(imageOf(GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 8, 4, colourBlock(kRed, kBlue)))
            .empty());
}

}  // namespace
