// Textures against a real context: the game's two files upload as
// mip-mapped S3TC textures with the fixed parameters, a texture that failed
// to load makes no call when bound, and a missing file is fatal.
#include "render/texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/asset_path.h"
#include "render/s3tc_decoder.h"

#include "support/console_capture.h"
#include "support/gl_context.h"
#include "support/s3tc_blocks.h"
#include "support/scratch_folder.h"

namespace {

std::vector<GLenum> activatedUnits;
PFNGLACTIVETEXTUREPROC realActiveTexture = nullptr;
void GLAPIENTRY recordActiveTexture(GLenum unit) {
    activatedUnits.push_back(unit);
    realActiveTexture(unit);
}

GLint boundTexture2D() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

GLint levelParameter(GLint level, GLenum parameter) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    return value;
}

GLint textureParameter(GLenum parameter) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

class TextureTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        glActiveTexture(GL_TEXTURE0);
        activatedUnits.clear();
        realActiveTexture = glActiveTexture;
    }
    void TearDown() override {
        glActiveTexture(GL_TEXTURE0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};

TEST_F(TextureTest, GameTexturesUploadLevelZeroAndGenerateTheMipChain) {
    struct Case {
        const char* path;
        GLint format;
        GLint levelBytes;
    };
    for (const Case& c : {Case{"assets/textures/wood_texture.dds", 0x83F1, 32768},
                          Case{"assets/textures/tiles_diffuse.dds", 0x83F3, 65536}}) {
        SCOPED_TRACE(c.path);
        testing::internal::CaptureStdout();
        const Texture texture(c.path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        ASSERT_TRUE(texture.isLoaded());
        // It stays bound on the active unit.
        EXPECT_EQ(boundTexture2D(), static_cast<GLint>(texture.id()));
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), c.format);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 256);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 256);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE), c.levelBytes);
        EXPECT_EQ(levelParameter(8, GL_TEXTURE_WIDTH), 1);
        EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    }
}

// The largest difference of any channel of any texel between the game's
// own decoding of `image` and the driver's; -1 when the sizes differ.
int largestDifferenceFromDriver(const CompressedImage& image) {
    const std::vector<std::uint8_t> decoded = decodeS3tc(image);
    if (decoded.size() != static_cast<std::size_t>(image.width * image.height * 4)) {
        return -1;
    }
    const GlTexture texture = makeGlTexture();
    glBindTexture(GL_TEXTURE_2D, texture.get());
    glCompressedTexImage2D(GL_TEXTURE_2D, 0, image.glFormat, image.width, image.height, 0,
                           static_cast<GLsizei>(image.imageSize), image.data.get());
    std::vector<std::uint8_t> driver(decoded.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, driver.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    int largestDifference = 0;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        largestDifference = std::max(largestDifference, std::abs(decoded[i] - driver[i]));
    }
    return largestDifference;
}

// Where a platform cannot take compressed levels, the game decodes them
// itself; the result must be what the desktop's driver makes of the file.
TEST_F(TextureTest, SoftwareDecodingGivesTheDriversTexels) {
    for (const char* path :
         {"assets/textures/wood_texture.dds", "assets/textures/tiles_diffuse.dds"}) {
        SCOPED_TRACE(path);
        const CompressedImage image = loadDDS(findAssetFile(path));
        ASSERT_TRUE(image.data);
        EXPECT_LE(largestDifferenceFromDriver(image), 1);
        EXPECT_GE(largestDifferenceFromDriver(image), 0);
    }
}

// One 4 x 4 block; texel i takes index i % 4 (colours) and i % 8 (DXT5 alpha),
// so every entry of both palettes is used.
CompressedImage blockImage(GLenum format, std::vector<std::uint8_t> block) {
    CompressedImage image;
    image.glFormat = format;
    image.width = 4;
    image.height = 4;
    image.imageSize = static_cast<std::uint32_t>(block.size());
    image.data = std::make_unique<std::uint8_t[]>(block.size());
    std::memcpy(image.data.get(), block.data(), block.size());
    return image;
}

std::vector<std::uint8_t> alphaBlock(std::uint8_t a0, std::uint8_t a1) {
    std::vector<std::uint8_t> block{a0, a1};
    std::uint64_t bits = 0;
    for (std::uint64_t texel = 0; texel < 16; ++texel) {
        bits |= (texel % 8) << (3 * texel);
    }
    for (int b = 0; b < 6; ++b) {
        block.push_back(static_cast<std::uint8_t>(bits >> (8 * b)));
    }
    return block;
}

// The palette switches hang on comparing the two end points: DXT1 has three
// colours and transparent black unless the first colour is above the second,
// DXT5 six alpha levels with 0 and 255 unless the first alpha is above the
// second. Equal end points sit right on that edge.
TEST_F(TextureTest, SoftwareDecodingOfEqualEndPointsGivesTheDriversTexels) {
    // Two 5:6:5 colours one step of blue apart.
    constexpr std::uint16_t teal = 0x041C;
    constexpr std::uint16_t bluerTeal = 0x041D;
    const struct Case {
        const char* what;
        GLenum format;
        std::vector<std::uint8_t> block;
    } cases[] = {
        {"DXT1, equal colours", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, colourBlock(teal, teal)},
        {"DXT1, first colour above", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT,
         colourBlock(bluerTeal, teal)},
        {"DXT1, first colour below", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT,
         colourBlock(teal, bluerTeal)},
        {"DXT5, equal alphas", GL_COMPRESSED_RGBA_S3TC_DXT5_EXT,
         concat(alphaBlock(90, 90), colourBlock(bluerTeal, teal))},
        {"DXT5, first alpha above", GL_COMPRESSED_RGBA_S3TC_DXT5_EXT,
         concat(alphaBlock(91, 90), colourBlock(bluerTeal, teal))},
        {"DXT5, first alpha below", GL_COMPRESSED_RGBA_S3TC_DXT5_EXT,
         concat(alphaBlock(90, 91), colourBlock(bluerTeal, teal))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int difference = largestDifferenceFromDriver(blockImage(c.format, c.block));
        EXPECT_GE(difference, 0);
        EXPECT_LE(difference, 1);
    }
}

TEST_F(TextureTest, BindActivatesTheUnitAndBindsThere) {
    const Texture texture("assets/textures/wood_texture.dds");
    glBindTexture(GL_TEXTURE_2D, 0);
    {
        GlFunctionOverride override(__glewActiveTexture, &recordActiveTexture);
        texture.bind(3);
    }
    EXPECT_EQ(activatedUnits, std::vector<GLenum>{GL_TEXTURE3});
    EXPECT_EQ(boundTexture2D(), static_cast<GLint>(texture.id()));
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(TextureTest, FilesThatDoNotLoadLeaveAnUnloadedTextureThatBindsNothing) {
    const ScratchFolder folder = ScratchFolder::besideTestExecutable();
    std::string wood =
        readWholeFile(std::string(QUORLAND_SOURCE_DIR) + "/assets/textures/wood_texture.dds");
    ASSERT_GT(wood.size(), 128u);
    std::memcpy(wood.data() + 84, "ATI2", 4);
    const std::string unsupported = folder.write("unsupported.dds", wood);
    const std::string garbage = folder.write("garbage.dds", std::string(300, 'x'));

    struct Case {
        std::string name;
        std::string message;
    };
    for (const Case& c :
         {Case{"unsupported.dds",
               "Unable to load DDS image file [" + unsupported + "] due to an unsupported format."},
          Case{"garbage.dds", "Unable to load DDS image file from path[" + garbage + "]"}}) {
        SCOPED_TRACE(c.name);
        GLuint other = 0;
        glGenTextures(1, &other);
        glBindTexture(GL_TEXTURE_2D, other);
        testing::internal::CaptureStdout();
        const Texture texture(folder.assetPath(c.name));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message + "\n");
        EXPECT_FALSE(texture.isLoaded());
        EXPECT_EQ(texture.id(), 0u);
        {
            GlFunctionOverride override(__glewActiveTexture, &recordActiveTexture);
            texture.bind(0);
            texture.bind(5);
        }
        EXPECT_TRUE(activatedUnits.empty());
        EXPECT_EQ(boundTexture2D(), static_cast<GLint>(other));
        glDeleteTextures(1, &other);
    }
}

TEST_F(TextureTest, AMissingFileEndsTheProgram) {
    EXPECT_EXIT(
        {
            routeConsoleForDeathTest();
            const Texture texture("assets/textures/no_such_texture.dds");
        },
        ::testing::ExitedWithCode(1),
        "^" + regexEscape("Could not find texture file: assets/textures/no_such_texture.dds") +
            "\n$");
}

}  // namespace
