#include "render/texture.h"

#include <utility>

#include "framework/asset_path.h"
#include "framework/console.h"
#include "framework/platform.h"
#include "render/dds_reader.h"
#include "render/s3tc_decoder.h"

namespace {

// Level 0 into the bound texture: compressed as read where the platform
// takes it, decoded to RGBA where it could not mip-map a compressed level.
void uploadLevelZero(const CompressedImage& image) {
    if (platformTakesCompressedTextures()) {
        glCompressedTexImage2D(GL_TEXTURE_2D, 0, image.glFormat, image.width, image.height, 0,
                               static_cast<GLsizei>(image.imageSize), image.data.get());
        return;
    }
    const std::vector<std::uint8_t> rgba = decodeS3tc(image);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba.data());
}

}  // namespace

Texture::Texture(std::string relativePath) {
    const std::string resolved = findAssetFile(relativePath);
    if (resolved.empty()) {
        printFatalLine("Could not find texture file: " + relativePath);
        exitAfterKeypress();
    }
    const CompressedImage image = loadDDS(resolved);
    if (!image.data) {
        return;
    }
    texture_ = makeGlTexture();
    glBindTexture(GL_TEXTURE_2D, texture_.get());
    uploadLevelZero(image);
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    loaded_ = true;
}

void Texture::bind(unsigned int unit) const {
    if (!loaded_) {
        return;
    }
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture_.get());
}
