// The scene set-up against a real context: which shader each material uses,
// the meshes it builds, and the release that leaves no OpenGL object behind.
#include "app/scene.h"

#include <gtest/gtest.h>

#include "game/game_state.h"
#include "support/game_globals.h"
#include "support/gl_context.h"

namespace {

class SceneTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        resetGameGlobals();
        testing::internal::CaptureStdout();
        setWorldSeed(7);
        scene_ = buildScene(CameraSettings{}, kRows);
        output_ = testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        if (scene_) {
            releaseScene(scene_);
        }
    }

    static constexpr int kRows = 30;
    std::unique_ptr<Scene> scene_;
    std::string output_;
};

TEST_F(SceneTest, BuildsTheFourShadersInOrder) {
    EXPECT_EQ(output_,
              "Read shader: assets/shaders/score.vert\nRead shader: assets/shaders/score.frag\n"
              "Read shader: assets/shaders/river.vert\nRead shader: assets/shaders/river.frag\n"
              "Read shader: assets/shaders/basicTexture.vert\n"
              "Read shader: assets/shaders/basicTexture.frag\n"
              "Read shader: assets/shaders/basicColor.vert\n"
              "Read shader: assets/shaders/basicColor.frag\n");
}

TEST_F(SceneTest, MaterialsUseTheirShadersAndBothTexturesLoad) {
    EXPECT_TRUE(scene_->woodTexture->isLoaded());
    EXPECT_TRUE(scene_->tilesTexture->isLoaded());
    EXPECT_EQ(scene_->woodMaterial->getShader(), scene_->textureShader.get());
    EXPECT_EQ(scene_->tilesMaterial->getShader(), scene_->textureShader.get());
    EXPECT_EQ(scene_->riverMaterial->getShader(), scene_->riverShader.get());
    for (const auto* material :
         {&scene_->grassMaterial, &scene_->playerMaterial, &scene_->markerMaterial,
          &scene_->lightGreyMaterial, &scene_->darkGreyMaterial, &scene_->logMaterial,
          &scene_->trunkMaterial, &scene_->crownMaterial}) {
        EXPECT_EQ((*material)->getShader(), scene_->colorShader.get());
    }
}

TEST_F(SceneTest, BuildsThePlayerTheMarkerAndOneRowPerIndex) {
    EXPECT_EQ(scene_->playerMesh->indexCount(), 36u);
    EXPECT_EQ(scene_->playerMesh->getMaterial(), scene_->playerMaterial);
    EXPECT_EQ(scene_->originMarker->indexCount(), 756u);
    EXPECT_EQ(scene_->originMarker->getModelMatrix(), glm::mat4(1.0f));
    const std::size_t rows = scene_->riverRows.size() + scene_->grassRows.size() +
                             scene_->darkGreyRows.size() + scene_->lightGreyRows.size();
    EXPECT_EQ(rows, static_cast<std::size_t>(kRows));
    EXPECT_EQ(logs.size(), 10 * scene_->riverRows.size());
    EXPECT_EQ(treeParts.size(), 2 * treePositions.size());
    EXPECT_NE(scene_->textVertexArray.get(), 0u);
    EXPECT_NE(scene_->textVertexBuffer.get(), 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneTest, ReleaseEmptiesTheWorldAndDeletesEveryObject) {
    const GLuint program = scene_->colorShader->programHandle();
    const std::weak_ptr<Material> log = scene_->logMaterial;
    releaseScene(scene_);
    EXPECT_EQ(scene_, nullptr);
    EXPECT_TRUE(treeParts.empty());
    EXPECT_TRUE(treePositions.empty());
    EXPECT_TRUE(logs.empty());
    EXPECT_TRUE(log.expired());
    EXPECT_EQ(glIsProgram(program), GL_FALSE);
}

}  // namespace
