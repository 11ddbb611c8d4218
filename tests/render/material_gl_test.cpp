// Materials against a real context: the order and values of their uniforms,
// the texture on unit 0, and shaders that lack some uniforms.
#include "render/material.h"

#include <gtest/gtest.h>

#include "support/gl_call_log.h"
#include "support/gl_context.h"
#include "support/render_helpers.h"

namespace {

using Lines = std::vector<std::string>;

class MaterialTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        shader_ = makeWorldTestShader(folder_);
        shader_->use();
        glActiveTexture(GL_TEXTURE0);
    }
    void TearDown() override {
        glBindTexture(GL_TEXTURE_2D, 0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // What setUniforms sends, as call lines.
    static Lines uniformsOf(Material& material) {
        GlCallLog log;
        material.setUniforms();
        return log.lines();
    }

    ScratchFolder folder_ = ScratchFolder::besideTestExecutable();
    std::shared_ptr<Shader> shader_;
};

TEST_F(MaterialTest, PlainMaterialSendsCoefficientsSpecularAndColourInOrder) {
    const auto material = Material::create(shader_, {1.0f, 0.5f, 0.25f}, {0.1f, 0.2f, 0.3f}, 8.0f);
    EXPECT_EQ(material->getShader(), shader_.get());
    EXPECT_EQ(uniformsOf(*material),
              (Lines{"uniform3f materialCoefficients 0.1 0.2 0.3", "uniform1f specularAlpha 8",
                     "uniform3f baseColor 1 0.5 0.25"}));
}

TEST_F(MaterialTest, TextureMaterialBindsItsTextureOnUnitZeroBeforeTheSampler) {
    auto texture = std::make_shared<Texture>("assets/textures/wood_texture.dds");
    ASSERT_TRUE(texture->isLoaded());
    glActiveTexture(GL_TEXTURE2);  // bind must select unit 0 itself
    glBindTexture(GL_TEXTURE_2D, 0);
    const auto material = TextureMaterial::create(shader_, {0.4f, 0.5f, 0.6f}, 2.0f, texture);
    EXPECT_EQ(
        uniformsOf(*material),
        (Lines{"uniform3f materialCoefficients 0.4 0.5 0.6", "uniform1f specularAlpha 2",
               "uniform3f baseColor 1 1 1", "activeTexture 0", "uniform1i diffuseTexture 0"}));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(texture->id()));
}

TEST_F(MaterialTest, UnloadedTextureBindsNothingButTheSamplerIsStillSet) {
    folder_.write("broken.dds", std::string("not a texture"));
    testing::internal::CaptureStdout();
    auto texture = std::make_shared<Texture>(folder_.assetPath("broken.dds"));
    testing::internal::GetCapturedStdout();
    ASSERT_FALSE(texture->isLoaded());
    const auto material = TextureMaterial::create(shader_, {0.4f, 0.5f, 0.6f}, 2.0f, texture);
    EXPECT_EQ(uniformsOf(*material),
              (Lines{"uniform3f materialCoefficients 0.4 0.5 0.6", "uniform1f specularAlpha 2",
                     "uniform3f baseColor 1 1 1", "uniform1i diffuseTexture 0"}));
}

TEST_F(MaterialTest, AShaderWithoutTheUniformsIsSentNothing) {
    auto builtIn = std::make_shared<Shader>();
    builtIn->use();
    const auto material = Material::create(builtIn, {1, 0, 0}, {0.1f, 0.2f, 0.3f}, 8.0f);
    EXPECT_EQ(uniformsOf(*material), Lines{});
}

TEST_F(MaterialTest, MaterialReleasesItsTextureThenItsShader) {
    auto texture = std::make_shared<Texture>("assets/textures/tiles_diffuse.dds");
    std::weak_ptr<Texture> textureAlive = texture;
    std::weak_ptr<Shader> shaderAlive = shader_;
    auto material =
        TextureMaterial::create(std::move(shader_), {1, 1, 1}, 1.0f, std::move(texture));
    EXPECT_FALSE(textureAlive.expired());
    material.reset();
    EXPECT_TRUE(textureAlive.expired());
    EXPECT_TRUE(shaderAlive.expired());
}

}  // namespace
