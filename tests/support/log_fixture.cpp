#include "support/log_fixture.h"

#include <glm/gtc/matrix_transform.hpp>

#include "support/game_globals.h"

void RiverTest::SetUp() {
    GlTest::SetUp();
    if (HasFatalFailure()) {
        return;  // no context: nothing below may touch GL
    }
    resetGameGlobals();
    releaseWorld();
    material_ = Material::create(std::make_shared<Shader>(), glm::vec3(0.55f, 0.27f, 0.07f),
                                 glm::vec3(0.1f), 1.0f);
}

void RiverTest::TearDown() {
    releaseWorld();
    resetGameGlobals();
}

void RiverTest::addLog(float x, float z, float speed, float direction) {
    logs.push_back({Geometry::create(glm::translate(glm::mat4(1.0f), glm::vec3(x, -1.0f, z)),
                                     createBoxGeometry(2.0f, 1.0f, 1.0f), material_),
                    speed, direction});
}

std::shared_ptr<Geometry> RiverTest::makeRiverRow(float z) {
    return Geometry::create(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -0.7f, z)),
                            createStripGeometry(100.0f, 1.0f), material_);
}
