#include "support/render_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

const char* const kWorldVertex = R"(#version 410
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;
uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
out vec3 worldNormal;
out vec2 texCoord;
void main() {
    gl_Position = modelMatrix * vec4(position, 1.0);
    worldNormal = normalMatrix * normal;
    texCoord = uv;
}
)";

const char* const kWorldFragment = R"(#version 410
uniform vec3 materialCoefficients;
uniform float specularAlpha;
uniform vec3 baseColor;
uniform sampler2D diffuseTexture;
in vec3 worldNormal;
in vec2 texCoord;
out vec4 color;
void main() {
    color = vec4(baseColor, 1.0);
    if (specularAlpha < 0.0) {
        color = texture(diffuseTexture, texCoord) * vec4(materialCoefficients, 1.0) +
                vec4(worldNormal, 0.0);
    }
}
)";

const char* const kTextVertex = R"(#version 410
layout(location = 0) in vec2 position;
uniform mat4 uProjection;
void main() {
    gl_Position = uProjection * vec4(position, 0.0, 1.0);
}
)";

const char* const kTextFragment = R"(#version 410
uniform vec3 uColor;
out vec4 color;
void main() {
    color = vec4(uColor, 1.0);
}
)";

std::shared_ptr<Shader> makeShader(const ScratchFolder& folder, const std::string& name,
                                   const char* vertex, const char* fragment) {
    folder.write(name + ".vert", std::string(vertex));
    folder.write(name + ".frag", std::string(fragment));
    testing::internal::CaptureStdout();  // "Read shader: ..." lines
    auto shader = std::make_shared<Shader>(folder.assetPath(name + ".vert"),
                                           folder.assetPath(name + ".frag"));
    testing::internal::GetCapturedStdout();
    return shader;
}

}  // namespace

std::shared_ptr<Shader> makeWorldTestShader(const ScratchFolder& folder) {
    return makeShader(folder, "world", kWorldVertex, kWorldFragment);
}

std::shared_ptr<Shader> makeTextTestShader(const ScratchFolder& folder) {
    return makeShader(folder, "text", kTextVertex, kTextFragment);
}

OffscreenTarget::OffscreenTarget(int width, int height, bool withDepth)
    : width_(width), height_(height) {
    glGenRenderbuffers(1, &colorBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    if (withDepth) {
        glGenRenderbuffers(1, &depthBuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  depthBuffer_);
    }
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

OffscreenTarget::~OffscreenTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &colorBuffer_);
    if (depthBuffer_ != 0) {
        glDeleteRenderbuffers(1, &depthBuffer_);
    }
}

PpmImage OffscreenTarget::pixels() const {
    PpmImage image;
    image.width = width_;
    image.height = height_;
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
    std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(height_));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    for (int row = height_ - 1; row >= 0; --row) {
        const auto start = bottomUp.begin() + static_cast<std::ptrdiff_t>(row * rowBytes);
        image.rgb.insert(image.rgb.end(), start, start + static_cast<std::ptrdiff_t>(rowBytes));
    }
    return image;
}

std::vector<PixelBox> boxesOfColor(const PpmImage& image, const std::array<int, 3>& rgb, int gap) {
    std::vector<PixelBox> boxes;
    int lastRow = -gap;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = &image.rgb[static_cast<std::size_t>((y * image.width + x) * 3)];
            if (std::abs(p[0] - rgb[0]) > 1 || std::abs(p[1] - rgb[1]) > 1 ||
                std::abs(p[2] - rgb[2]) > 1) {
                continue;
            }
            if (y - lastRow >= gap) {
                boxes.push_back({x, y, x, y});
            }
            PixelBox& box = boxes.back();
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.bottom = y;
            lastRow = y;
        }
    }
    return boxes;
}
